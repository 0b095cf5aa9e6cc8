<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>ConversionJob</name>
    <message>
        <source>The job was cancelled.</source>
        <translation>La tâche a été annulée.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists and is left as it is.</source>
        <translation>« %1 » existe déjà et reste tel quel.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be replaced; the result was kept as &quot;%2&quot;.</source>
        <translation>« %1 » ne peut pas être remplacé ; le résultat a été conservé sous « %2 ».</translation>
    </message>
    <message>
        <source>The output folder does not exist or cannot be written to. Choose another folder.</source>
        <translation>Le dossier de sortie n&apos;existe pas ou n&apos;est pas accessible en écriture. Choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>Échec de la conversion.</translation>
    </message>
    <message>
        <source>Re-encoded: %1.</source>
        <translation>Réencodé&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Conversion failed, error code</source>
        <translation>Échec de la conversion, code d&apos;erreur</translation>
    </message>
    <message>
        <source>The output file path is too long. Choose an output folder with a shorter path.</source>
        <translation>Le chemin du fichier de sortie est trop long. Choisissez un dossier de sortie dont le chemin est plus court.</translation>
    </message>
    <message>
        <source>The conversion stopped making progress and was ended.</source>
        <translation>La conversion ne progressait plus et a été arrêtée.</translation>
    </message>
    <message>
        <source>The media tool stopped before the result was complete.</source>
        <translation>L&apos;outil multimédia s&apos;est arrêté avant que le résultat soit complet.</translation>
    </message>
</context>
<context>
    <name>ConvertProgressWidget</name>
    <message>
        <source>Converting...</source>
        <translation>Conversion...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Joining</source>
        <translation>Fusion en cours</translation>
    </message>
    <message>
        <source>Cutting</source>
        <translation>Découpage en cours</translation>
    </message>
</context>
<context>
    <name>CutPlan</name>
    <message>
        <source>the picture has no keyframes</source>
        <translation>la vidéo n&apos;a aucune image clé</translation>
    </message>
    <message>
        <source>the picture uses open groups of pictures</source>
        <translation>la vidéo utilise des groupes d&apos;images ouverts</translation>
    </message>
    <message>
        <source>the picture reorders more frames than an encoder can match</source>
        <translation>la vidéo réordonne plus d&apos;images qu&apos;un encodeur ne peut en reproduire</translation>
    </message>
    <message>
        <source>the %1 container cannot carry encoded and copied frames together</source>
        <translation>le conteneur %1 ne peut pas réunir des images encodées et des images copiées</translation>
    </message>
    <message>
        <source>there is no matching encoder for %1 %2</source>
        <translation>aucun encodeur ne correspond à %1 %2</translation>
    </message>
    <message>
        <source>the range is empty</source>
        <translation>la plage est vide</translation>
    </message>
    <message>
        <source>the range holds no frame</source>
        <translation>la plage ne contient aucune image</translation>
    </message>
    <message>
        <source>the range is shorter than the keyframe spacing</source>
        <translation>la plage est plus courte que l&apos;intervalle entre les images clés</translation>
    </message>
</context>
<context>
    <name>FrameIndex</name>
    <message>
        <source>the file could not be read</source>
        <translation>le fichier n&apos;a pas pu être lu</translation>
    </message>
    <message>
        <source>the video stream has no time base</source>
        <translation>le flux vidéo n&apos;a pas de base de temps</translation>
    </message>
</context>
<context>
    <name>HadUpdateWidget</name>
    <message>
        <source>There is a new version, do you want to update now?</source>
        <translation>Une nouvelle version est disponible. Voulez-vous effectuer la mise à jour maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>Note: Our software is frequently optimized and upgraded. Please update to the latest version in time!</source>
        <translation>Remarque&#xa0;: notre logiciel est régulièrement optimisé et amélioré. Pensez à installer la dernière version sans tarder&#xa0;!</translation>
    </message>
    <message>
        <source>Note: This copy of Splicora is updated with your system&apos;s packages. Update it there, or read more on the homepage.</source>
        <translation>Remarque&#xa0;: cette installation de Splicora est mise à jour via les paquets de votre système. Mettez-la à jour par ce biais ou consultez la page d&apos;accueil pour en savoir plus.</translation>
    </message>
    <message>
        <source>Change Log:</source>
        <translation>Journal des modifications&#xa0;:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Page d&apos;accueil</translation>
    </message>
    <message>
        <source>New version detected, downloading...</source>
        <translation>Nouvelle version détectée, téléchargement en cours...</translation>
    </message>
    <message>
        <source>Note: If the download fails, please click the link below to download the update file through browser.</source>
        <translation>Remarque&#xa0;: si le téléchargement échoue, cliquez sur le lien ci-dessous pour télécharger le fichier de mise à jour avec votre navigateur.</translation>
    </message>
    <message>
        <source>Download link: </source>
        <translation>Lien de téléchargement&#xa0;: </translation>
    </message>
    <message>
        <source>Download update file failed, Please try again for other time.</source>
        <translation>Échec du téléchargement de la mise à jour. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>This update cannot be verified, so it is not installed automatically. Download it with the link below.</source>
        <translation>Cette mise à jour ne peut pas être vérifiée&#xa0;: elle ne sera pas installée automatiquement. Téléchargez-la avec le lien ci-dessous.</translation>
    </message>
    <message>
        <source>Downloading Update</source>
        <translation>Téléchargement de la mise à jour</translation>
    </message>
    <message>
        <source>A conversion is running. Finish or cancel it first, then update.</source>
        <translation>Une conversion est en cours. Attendez qu&apos;elle se termine ou annulez-la, puis lancez la mise à jour.</translation>
    </message>
</context>
<context>
    <name>JobListFile</name>
    <message>
        <source>This is not a Splicora list: its text is not JSON (%1 at character %2).</source>
        <translation>Ce n’est pas une liste Splicora : son texte n’est pas du JSON (%1 au caractère %2).</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it holds no JSON object.</source>
        <translation>Ce n’est pas une liste Splicora : elle ne contient aucun objet JSON.</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no version number.</source>
        <translation>Ce n’est pas une liste Splicora : elle n’a pas de numéro de version.</translation>
    </message>
    <message>
        <source>This list was saved by a newer version of Splicora (list version %1); update Splicora to open it.</source>
        <translation>Cette liste a été enregistrée par une version plus récente de Splicora (version de liste %1) ; mettez Splicora à jour pour l’ouvrir.</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no &quot;items&quot; array.</source>
        <translation>Ce n’est pas une liste Splicora : elle n’a pas de tableau « items ».</translation>
    </message>
    <message>
        <source>Item %1 of the list is not an object.</source>
        <translation>L’élément %1 de la liste n’est pas un objet.</translation>
    </message>
    <message>
        <source>Item %1 of the list has no path.</source>
        <translation>L’élément %1 de la liste n’a pas de chemin.</translation>
    </message>
    <message>
        <source>Item %1 of the list has a start that is not a time (seconds, 0 or more).</source>
        <translation>L’élément %1 de la liste a un début qui n’est pas une durée (secondes, 0 ou plus).</translation>
    </message>
    <message>
        <source>Item %1 of the list has an end that is not a time (seconds, 0 or more).</source>
        <translation>L’élément %1 de la liste a une fin qui n’est pas une durée (secondes, 0 ou plus).</translation>
    </message>
    <message>
        <source>Item %1 of the list ends before its start.</source>
        <translation>L’élément %1 de la liste se termine avant son début.</translation>
    </message>
    <message>
        <source>Item %1 of the list has a track that is not a whole number, 0 or more.</source>
        <translation>L’élément %1 de la liste a une piste qui n’est pas un nombre entier positif ou nul.</translation>
    </message>
    <message>
        <source>The list could not be saved as %1: %2.</source>
        <translation>La liste n’a pas pu être enregistrée sous %1 : %2.</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: %2.</source>
        <translation>La liste %1 ne peut pas être lue : %2.</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>ce n’est pas un fichier</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: it is far too large to be a list.</source>
        <translation>La liste %1 ne peut pas être lue : elle est bien trop grande pour être une liste.</translation>
    </message>
</context>
<context>
    <name>ListNoItemWidget</name>
    <message>
        <source>Drag and drop files to start</source>
        <translation>Glissez-déposez des fichiers pour commencer</translation>
    </message>
</context>
<context>
    <name>LosslessJob</name>
    <message>
        <source>The media tool could not be started. Check that ffmpeg is installed.</source>
        <translation>Impossible de démarrer l&apos;outil multimédia. Vérifiez que ffmpeg est installé.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can no longer be read. It may have been moved or deleted.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» ne peut plus être lu. Il a peut-être été déplacé ou supprimé.</translation>
    </message>
    <message>
        <source>The work folder cannot be written to.</source>
        <translation>Le dossier de travail n&apos;est pas accessible en écriture.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or can no longer be read.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» est endommagé ou ne peut plus être lu.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be cut: %2.</source>
        <translation>Impossible de couper «&#xa0;%1&#xa0;»&#xa0;: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no sound track %2 in the kept range.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» n&apos;a pas de piste audio %2 dans la plage conservée.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged: its frames could not be read.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» est endommagé&#xa0;: ses images n&apos;ont pas pu être lues.</translation>
    </message>
    <message>
        <source>A file name holds a line break and cannot be joined. Rename the file.</source>
        <translation>Un nom de fichier contient un saut de ligne&#xa0;: ce fichier ne peut pas être fusionné. Renommez-le.</translation>
    </message>
    <message>
        <source>A file named &quot;%1&quot; appeared in the output folder; nothing was written.</source>
        <translation>Un fichier nommé «&#xa0;%1&#xa0;» est apparu dans le dossier de sortie&#xa0;; rien n&apos;a été écrit.</translation>
    </message>
    <message>
        <source>the encoder settings of &quot;%1&quot; cannot be matched</source>
        <translation>les paramètres d&apos;encodage de «&#xa0;%1&#xa0;» ne peuvent pas être reproduits</translation>
    </message>
    <message>
        <source>There is not enough room in the output folder. Free some space or choose another folder.</source>
        <translation>Espace insuffisant dans le dossier de sortie. Libérez de l&apos;espace ou choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>A file has no sound track of the number chosen in its row.</source>
        <translation>Un fichier n&apos;a pas de piste audio portant le numéro choisi sur sa ligne.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged and cannot be read.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» est endommagé et illisible.</translation>
    </message>
    <message>
        <source>The output folder cannot be written to. Choose another folder.</source>
        <translation>Le dossier de sortie n&apos;est pas accessible en écriture. Choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>The media tool stopped unexpectedly.</source>
        <translation>L&apos;outil multimédia s&apos;est arrêté de manière inattendue.</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>Échec de la conversion.</translation>
    </message>
    <message>
        <source>The result cannot be played back; it was removed.</source>
        <translation>Le résultat ne peut pas être lu&#xa0;; il a été supprimé.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ended early at %2, so the result is %3 s shorter than chosen.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;» se termine plus tôt, à %2&#xa0;: le résultat est donc plus court de %3&#xa0;s que prévu.</translation>
    </message>
    <message>
        <source>The result is %1 s shorter than chosen.</source>
        <translation>Le résultat est plus court de %1&#xa0;s que prévu.</translation>
    </message>
</context>
<context>
    <name>MyMessageDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>NoUpdateWidget</name>
    <message>
        <source>Tarnwick Framewright</source>
        <translation>Tarnwick Framewright</translation>
    </message>
    <message>
        <source>The software version you are currently using is: V</source>
        <translation>Version que vous utilisez actuellement&#xa0;: V</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>This copy of Splicora has no update site; it is updated with your system&apos;s packages.</source>
        <translation>Cette installation de Splicora n&apos;a pas de site de mises à jour&#xa0;: elle se met à jour via les paquets de votre système.</translation>
    </message>
    <message>
        <source>Could not reach the update server. Please check your connection and try again.</source>
        <translation>Impossible de joindre le serveur de mises à jour. Vérifiez votre connexion et réessayez.</translation>
    </message>
    <message>
        <source>You already have the latest version, no need to update!</source>
        <translation>Vous disposez déjà de la dernière version. Aucune mise à jour n&apos;est nécessaire.</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>The media tool ffmpeg was not found.
Put ffmpeg.exe beside Splicora.</source>
        <translation>L&apos;outil multimédia ffmpeg est introuvable.
Placez ffmpeg.exe à côté de Splicora.</translation>
    </message>
    <message>
        <source>The media tool ffmpeg was not found.
Debian, Ubuntu: sudo apt install ffmpeg
or put ffmpeg beside Splicora.</source>
        <translation>L&apos;outil multimédia ffmpeg est introuvable.
Debian, Ubuntu&#xa0;: sudo apt install ffmpeg
ou placez ffmpeg à côté de Splicora.</translation>
    </message>
    <message>
        <source>Splicora&apos;s folder %1 is not safe: %2.
Remove it; until then each run uses a new folder.</source>
        <translation>Le dossier %1 de Splicora n&apos;est pas sûr&#xa0;: %2.
Supprimez-le&#xa0;; d&apos;ici là, chaque lancement en crée un.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>it is not a folder</source>
        <translation>ce n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>it cannot be made</source>
        <translation>il ne peut pas être créé</translation>
    </message>
    <message>
        <source>it is a link to somewhere else</source>
        <translation>c&apos;est un lien vers un autre emplacement</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>il appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>other users can reach it (mode %1)</source>
        <translation>d&apos;autres utilisateurs y ont accès (mode %1)</translation>
    </message>
    <message>
        <source>it cannot be written</source>
        <translation>il n&apos;est pas accessible en écriture</translation>
    </message>
</context>
<context>
    <name>ProbeRefusal</name>
    <message>
        <source>not a media file</source>
        <translation>pas un fichier multimédia</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>endommagé</translation>
    </message>
    <message>
        <source>This file was not added:</source>
        <translation>Ce fichier n&apos;a pas été ajouté&#xa0;:</translation>
    </message>
    <message>
        <source>These files were not added:</source>
        <translation>Ces fichiers n&apos;ont pas été ajoutés&#xa0;:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A refused file and why, e.g. &quot;notes.mp4: not a media file&quot;.</extracomment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... et %n autre.</numerusform>
            <numerusform>... et %n autres.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VCBottomWidget</name>
    <message>
        <source>The output-format file has no sound; the sound of the other files is kept in this format.</source>
        <translation>Le fichier au format de sortie n&apos;a pas de son&#xa0;; le son des autres fichiers est conservé dans ce format.</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>Profil&#xa0;:</translation>
    </message>
    <message>
        <source>Exact</source>
        <translation>Précis</translation>
    </message>
    <message>
        <source>Keyframe</source>
        <translation>Image clé</translation>
    </message>
    <message>
        <source>Start on the chosen frame: the frames up to the next keyframe are encoded again, the rest is copied.</source>
        <translation>Commence à l&apos;image choisie&#xa0;: les images jusqu&apos;à l&apos;image clé suivante sont réencodées, le reste est copié.</translation>
    </message>
    <message>
        <source>Copy only, nothing is encoded again: Start moves back to the keyframe at or before it.</source>
        <translation>Copie seule, sans réencodage&#xa0;: le début est ramené à l&apos;image clé située à cet endroit ou juste avant.</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Dossier&#xa0;:</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Fusionner</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>Échec de la conversion.</translation>
    </message>
    <message>
        <source>Join Completed.</source>
        <translation>Fusion terminée.</translation>
    </message>
    <message>
        <source>Cut Completed.</source>
        <translation>Découpage terminé.</translation>
    </message>
    <message>
        <source>Conversion completed.</source>
        <translation>Conversion terminée.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir le dossier</translation>
    </message>
</context>
<context>
    <name>VCMainWidget</name>
    <message>
        <source>Adding files...</source>
        <translation>Ajout des fichiers...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Splicora lists (*.splicora.json *.json)</source>
        <translation>Listes Splicora (*.splicora.json *.json)</translation>
    </message>
    <message>
        <source>The list %1 holds no files.</source>
        <translation>La liste %1 ne contient aucun fichier.</translation>
    </message>
    <message>
        <source>Replace the file in the list with the saved list?</source>
        <translation>Remplacer le fichier de la liste par la liste enregistrée ?</translation>
    </message>
    <message>
        <source>Replace the %1 files in the list with the saved list?</source>
        <translation>Remplacer les %1 fichiers de la liste par la liste enregistrée ?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>This file of the list was not found:</source>
        <translation>Ce fichier de la liste est introuvable :</translation>
    </message>
    <message>
        <source>These files of the list were not found:</source>
        <translation>Ces fichiers de la liste sont introuvables :</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... et %n autre.</numerusform>
            <numerusform>... et %n autres.</numerusform>
        </translation>
    </message>
    <message>
        <source>Save List</source>
        <translation>Enregistrer la liste</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Ouvrir une liste</translation>
    </message>
</context>
<context>
    <name>VCTopWidget</name>
    <message>
        <source>All media files</source>
        <translation>Tous les fichiers multimédias</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Ouvrir des fichiers</translation>
    </message>
    <message>
        <source>Tarnwick Framewright</source>
        <translation>Tarnwick Framewright</translation>
    </message>
    <message>
        <source>Ver: </source>
        <translation>v. </translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Vider</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Commentaires</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Page d&apos;accueil</translation>
    </message>
    <message>
        <source>How to cut video</source>
        <translation>Comment couper une vidéo</translation>
    </message>
    <message>
        <source>How to join videos</source>
        <translation>Comment fusionner des vidéos</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Assistance</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Rechercher les mises à jour</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>Enregistrer la liste…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Ouvrir une liste…</translation>
    </message>
</context>
<context>
    <name>VideoItemWidget</name>
    <message>
        <source>Duration:</source>
        <translation>Durée&#xa0;:</translation>
    </message>
    <message>
        <source>Set as output format</source>
        <translation>Définir comme format de sortie</translation>
    </message>
    <message>
        <source>Audio:</source>
        <translation>Audio&#xa0;:</translation>
    </message>
    <message>
        <source>Set as default format</source>
        <translation>Définir comme format par défaut</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>Tout retirer</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>Piste</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>Enregistrer la liste…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Ouvrir une liste…</translation>
    </message>
</context>
<context>
    <name>VideoListWidget</name>
    <message>
        <source>File:</source>
        <translation>Fichiers&#xa0;:</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Total&#xa0;:</translation>
    </message>
</context>
<context>
    <name>VideoPlayerWidget</name>
    <message>
        <source>Start:</source>
        <translation>Début&#xa0;:</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>Fin&#xa0;:</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Apply All</source>
        <translation>Tout appliquer</translation>
    </message>
    <message>
        <source>Set start time</source>
        <translation>Définir le début</translation>
    </message>
    <message>
        <source>Set end time</source>
        <translation>Définir la fin</translation>
    </message>
</context>
</TS>
