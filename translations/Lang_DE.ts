<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ConversionJob</name>
    <message>
        <source>The job was cancelled.</source>
        <translation>Der Auftrag wurde abgebrochen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists and is left as it is.</source>
        <translation>„%1“ ist bereits vorhanden und bleibt unverändert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be replaced; the result was kept as &quot;%2&quot;.</source>
        <translation>„%1“ kann nicht ersetzt werden; das Ergebnis wurde als „%2“ behalten.</translation>
    </message>
    <message>
        <source>The output folder does not exist or cannot be written to. Choose another folder.</source>
        <translation>Der Ausgabeordner existiert nicht oder ist nicht beschreibbar. Wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>Konvertierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Re-encoded: %1.</source>
        <translation>Neu kodiert: %1.</translation>
    </message>
    <message>
        <source>Conversion failed, error code</source>
        <translation>Konvertierung fehlgeschlagen, Fehlercode</translation>
    </message>
    <message>
        <source>The output file path is too long. Choose an output folder with a shorter path.</source>
        <translation>Der Pfad der Ausgabedatei ist zu lang. Wählen Sie einen Ausgabeordner mit kürzerem Pfad.</translation>
    </message>
    <message>
        <source>The conversion stopped making progress and was ended.</source>
        <translation>Die Konvertierung kam nicht mehr voran und wurde beendet.</translation>
    </message>
    <message>
        <source>The media tool stopped before the result was complete.</source>
        <translation>Das Hilfsprogramm wurde beendet, bevor das Ergebnis vollständig war.</translation>
    </message>
</context>
<context>
    <name>ConvertProgressWidget</name>
    <message>
        <source>Converting...</source>
        <translation>Konvertieren...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Joining</source>
        <translation>Zusammenfügen</translation>
    </message>
    <message>
        <source>Cutting</source>
        <translation>Schneiden</translation>
    </message>
</context>
<context>
    <name>CutPlan</name>
    <message>
        <source>the picture has no keyframes</source>
        <translation>Das Video hat keine Keyframes</translation>
    </message>
    <message>
        <source>the picture uses open groups of pictures</source>
        <translation>Das Video verwendet offene Bildgruppen (Open GOP)</translation>
    </message>
    <message>
        <source>the picture reorders more frames than an encoder can match</source>
        <translation>Das Video ordnet mehr Frames um, als ein Encoder nachbilden kann</translation>
    </message>
    <message>
        <source>the %1 container cannot carry encoded and copied frames together</source>
        <translation>Der %1-Container kann kodierte und kopierte Frames nicht gemeinsam aufnehmen</translation>
    </message>
    <message>
        <source>there is no matching encoder for %1 %2</source>
        <translation>Für %1 %2 gibt es keinen passenden Encoder</translation>
    </message>
    <message>
        <source>the range is empty</source>
        <translation>Der Bereich ist leer</translation>
    </message>
    <message>
        <source>the range holds no frame</source>
        <translation>Der Bereich enthält keinen Frame</translation>
    </message>
    <message>
        <source>the range is shorter than the keyframe spacing</source>
        <translation>Der Bereich ist kürzer als der Keyframe-Abstand</translation>
    </message>
</context>
<context>
    <name>FrameIndex</name>
    <message>
        <source>the file could not be read</source>
        <translation>die Datei konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>the video stream has no time base</source>
        <translation>der Videostream hat keine Zeitbasis</translation>
    </message>
</context>
<context>
    <name>HadUpdateWidget</name>
    <message>
        <source>There is a new version, do you want to update now?</source>
        <translation>Eine neue Version ist verfügbar. Möchten Sie jetzt aktualisieren?</translation>
    </message>
    <message>
        <source>Note: Our software is frequently optimized and upgraded. Please update to the latest version in time!</source>
        <translation>Hinweis: Unsere Software wird regelmäßig optimiert und verbessert. Aktualisieren Sie daher zeitnah auf die neueste Version.</translation>
    </message>
    <message>
        <source>Note: This copy of Splicora is updated with your system&apos;s packages. Update it there, or read more on the homepage.</source>
        <translation>Hinweis: Diese Splicora-Installation wird über die Paketverwaltung Ihres Systems aktualisiert. Aktualisieren Sie sie dort oder lesen Sie mehr dazu auf der Homepage.</translation>
    </message>
    <message>
        <source>Change Log:</source>
        <translation>Änderungsprotokoll:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>New version detected, downloading...</source>
        <translation>Neue Version gefunden, wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Note: If the download fails, please click the link below to download the update file through browser.</source>
        <translation>Hinweis: Falls der Download fehlschlägt, klicken Sie auf den Link unten, um die Update-Datei im Browser herunterzuladen.</translation>
    </message>
    <message>
        <source>Download link: </source>
        <translation>Download-Link: </translation>
    </message>
    <message>
        <source>Download update file failed, Please try again for other time.</source>
        <translation>Die Update-Datei konnte nicht heruntergeladen werden. Versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>This update cannot be verified, so it is not installed automatically. Download it with the link below.</source>
        <translation>Dieses Update ist nicht überprüfbar und wird daher nicht automatisch installiert. Laden Sie es über den Link unten herunter.</translation>
    </message>
    <message>
        <source>Downloading Update</source>
        <translation>Update wird heruntergeladen</translation>
    </message>
    <message>
        <source>A conversion is running. Finish or cancel it first, then update.</source>
        <translation>Es läuft noch eine Konvertierung. Warten Sie, bis sie abgeschlossen ist, oder brechen Sie sie ab, bevor Sie aktualisieren.</translation>
    </message>
</context>
<context>
    <name>JobListFile</name>
    <message>
        <source>This is not a Splicora list: its text is not JSON (%1 at character %2).</source>
        <translation>Dies ist keine Splicora-Liste: Der Text ist kein JSON (%1 bei Zeichen %2).</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it holds no JSON object.</source>
        <translation>Dies ist keine Splicora-Liste: Sie enthält kein JSON-Objekt.</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no version number.</source>
        <translation>Dies ist keine Splicora-Liste: Sie hat keine Versionsnummer.</translation>
    </message>
    <message>
        <source>This list was saved by a newer version of Splicora (list version %1); update Splicora to open it.</source>
        <translation>Diese Liste wurde mit einer neueren Version von Splicora gespeichert (Listenversion %1); aktualisieren Sie Splicora, um sie zu öffnen.</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no &quot;items&quot; array.</source>
        <translation>Dies ist keine Splicora-Liste: Sie hat kein „items“-Feld.</translation>
    </message>
    <message>
        <source>Item %1 of the list is not an object.</source>
        <translation>Eintrag %1 der Liste ist kein Objekt.</translation>
    </message>
    <message>
        <source>Item %1 of the list has no path.</source>
        <translation>Eintrag %1 der Liste hat keinen Pfad.</translation>
    </message>
    <message>
        <source>Item %1 of the list has a start that is not a time (seconds, 0 or more).</source>
        <translation>Eintrag %1 der Liste hat einen Anfang, der keine Zeit ist (Sekunden, 0 oder mehr).</translation>
    </message>
    <message>
        <source>Item %1 of the list has an end that is not a time (seconds, 0 or more).</source>
        <translation>Eintrag %1 der Liste hat ein Ende, das keine Zeit ist (Sekunden, 0 oder mehr).</translation>
    </message>
    <message>
        <source>Item %1 of the list ends before its start.</source>
        <translation>Eintrag %1 der Liste endet vor seinem Anfang.</translation>
    </message>
    <message>
        <source>Item %1 of the list has a track that is not a whole number, 0 or more.</source>
        <translation>Eintrag %1 der Liste hat eine Tonspur, die keine ganze Zahl von 0 an ist.</translation>
    </message>
    <message>
        <source>The list could not be saved as %1: %2.</source>
        <translation>Die Liste konnte nicht als %1 gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: %2.</source>
        <translation>Die Liste %1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>es ist keine Datei</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: it is far too large to be a list.</source>
        <translation>Die Liste %1 kann nicht gelesen werden: Sie ist viel zu groß für eine Liste.</translation>
    </message>
</context>
<context>
    <name>ListNoItemWidget</name>
    <message>
        <source>Drag and drop files to start</source>
        <translation>Dateien hierher ziehen, um zu beginnen</translation>
    </message>
</context>
<context>
    <name>LosslessJob</name>
    <message>
        <source>The media tool could not be started. Check that ffmpeg is installed.</source>
        <translation>Das Hilfsprogramm konnte nicht gestartet werden. Prüfen Sie, ob ffmpeg installiert ist.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can no longer be read. It may have been moved or deleted.</source>
        <translation>„%1“ kann nicht mehr gelesen werden. Die Datei wurde eventuell verschoben oder gelöscht.</translation>
    </message>
    <message>
        <source>The work folder cannot be written to.</source>
        <translation>Der Arbeitsordner ist nicht beschreibbar.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or can no longer be read.</source>
        <translation>„%1“ ist beschädigt oder kann nicht mehr gelesen werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be cut: %2.</source>
        <translation>„%1“ kann nicht geschnitten werden: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no sound track %2 in the kept range.</source>
        <translation>„%1“ hat im gewählten Bereich keine Tonspur %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged: its frames could not be read.</source>
        <translation>„%1“ ist beschädigt: Die Frames konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>A file name holds a line break and cannot be joined. Rename the file.</source>
        <translation>Ein Dateiname enthält einen Zeilenumbruch, daher kann die Datei nicht zusammengefügt werden. Benennen Sie die Datei um.</translation>
    </message>
    <message>
        <source>A file named &quot;%1&quot; appeared in the output folder; nothing was written.</source>
        <translation>Im Ausgabeordner ist inzwischen eine Datei „%1“ vorhanden; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>the encoder settings of &quot;%1&quot; cannot be matched</source>
        <translation>Die Encoder-Einstellungen von „%1“ lassen sich nicht nachbilden</translation>
    </message>
    <message>
        <source>There is not enough room in the output folder. Free some space or choose another folder.</source>
        <translation>Im Ausgabeordner ist nicht genug Speicherplatz frei. Geben Sie Speicherplatz frei oder wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>A file has no sound track of the number chosen in its row.</source>
        <translation>Eine Datei hat keine Tonspur mit der in ihrer Zeile gewählten Nummer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged and cannot be read.</source>
        <translation>„%1“ ist beschädigt und kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The output folder cannot be written to. Choose another folder.</source>
        <translation>Der Ausgabeordner ist nicht beschreibbar. Wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The media tool stopped unexpectedly.</source>
        <translation>Das Hilfsprogramm wurde unerwartet beendet.</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>Konvertierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The result cannot be played back; it was removed.</source>
        <translation>Das Ergebnis lässt sich nicht abspielen und wurde gelöscht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ended early at %2, so the result is %3 s shorter than chosen.</source>
        <translation>„%1“ endet bereits bei %2, daher ist das Ergebnis %3 s kürzer als gewählt.</translation>
    </message>
    <message>
        <source>The result is %1 s shorter than chosen.</source>
        <translation>Das Ergebnis ist %1 s kürzer als gewählt.</translation>
    </message>
</context>
<context>
    <name>MyMessageDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
        <translation>Ihre derzeit verwendete Version: V</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>This copy of Splicora has no update site; it is updated with your system&apos;s packages.</source>
        <translation>Diese Splicora-Installation hat keine Update-Quelle; sie wird über die Paketverwaltung Ihres Systems aktualisiert.</translation>
    </message>
    <message>
        <source>Could not reach the update server. Please check your connection and try again.</source>
        <translation>Der Update-Server ist nicht erreichbar. Prüfen Sie Ihre Verbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>You already have the latest version, no need to update!</source>
        <translation>Sie verwenden bereits die neueste Version. Ein Update ist nicht nötig.</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>The media tool ffmpeg was not found.
Put ffmpeg.exe beside Splicora.</source>
        <translation>Das Hilfsprogramm ffmpeg fehlt.
Legen Sie ffmpeg.exe neben Splicora ab.</translation>
    </message>
    <message>
        <source>The media tool ffmpeg was not found.
Debian, Ubuntu: sudo apt install ffmpeg
or put ffmpeg beside Splicora.</source>
        <translation>Das Hilfsprogramm ffmpeg fehlt.
Debian, Ubuntu: sudo apt install ffmpeg
oder legen Sie ffmpeg neben Splicora ab.</translation>
    </message>
    <message>
        <source>Splicora&apos;s folder %1 is not safe: %2.
Remove it; until then each run uses a new folder.</source>
        <translation>Splicoras Ordner %1 ist nicht sicher: %2.
Löschen Sie ihn; bis dahin nutzt jeder Start einen neuen.</translation>
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
        <translation>Er ist kein Ordner</translation>
    </message>
    <message>
        <source>it cannot be made</source>
        <translation>Er kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>it is a link to somewhere else</source>
        <translation>Er verweist auf einen anderen Ort</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>Er gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>other users can reach it (mode %1)</source>
        <translation>Andere Benutzer haben Zugriff darauf (Rechte %1)</translation>
    </message>
    <message>
        <source>it cannot be written</source>
        <translation>Er ist nicht beschreibbar</translation>
    </message>
</context>
<context>
    <name>ProbeRefusal</name>
    <message>
        <source>not a media file</source>
        <translation>keine Mediendatei</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>beschädigt</translation>
    </message>
    <message>
        <source>This file was not added:</source>
        <translation>Diese Datei wurde nicht hinzugefügt:</translation>
    </message>
    <message>
        <source>These files were not added:</source>
        <translation>Diese Dateien wurden nicht hinzugefügt:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A refused file and why, e.g. &quot;notes.mp4: not a media file&quot;.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weitere.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VCBottomWidget</name>
    <message>
        <source>The output-format file has no sound; the sound of the other files is kept in this format.</source>
        <translation>Die Datei mit dem Ausgabeformat hat keinen Ton; der Ton der übrigen Dateien wird in diesem Format übernommen.</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>Profil:</translation>
    </message>
    <message>
        <source>Exact</source>
        <translation>Exakt</translation>
    </message>
    <message>
        <source>Keyframe</source>
        <translation>Keyframe</translation>
    </message>
    <message>
        <source>Start on the chosen frame: the frames up to the next keyframe are encoded again, the rest is copied.</source>
        <translation>Beginnt am gewählten Frame: Die Frames bis zum nächsten Keyframe werden neu kodiert, der Rest wird kopiert.</translation>
    </message>
    <message>
        <source>Copy only, nothing is encoded again: Start moves back to the keyframe at or before it.</source>
        <translation>Nur kopieren, nichts wird neu kodiert: Der Anfang rückt auf den Keyframe an oder vor dieser Stelle.</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Ordner:</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Zusammenfügen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Schneiden</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>Konvertierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Join Completed.</source>
        <translation>Zusammenfügen abgeschlossen.</translation>
    </message>
    <message>
        <source>Cut Completed.</source>
        <translation>Schnitt abgeschlossen.</translation>
    </message>
    <message>
        <source>Conversion completed.</source>
        <translation>Konvertierung abgeschlossen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>VCMainWidget</name>
    <message>
        <source>Adding files...</source>
        <translation>Dateien werden hinzugefügt...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Splicora lists (*.splicora.json *.json)</source>
        <translation>Splicora-Listen (*.splicora.json *.json)</translation>
    </message>
    <message>
        <source>The list %1 holds no files.</source>
        <translation>Die Liste %1 enthält keine Dateien.</translation>
    </message>
    <message>
        <source>Replace the file in the list with the saved list?</source>
        <translation>Die Datei in der Liste durch die gespeicherte Liste ersetzen?</translation>
    </message>
    <message>
        <source>Replace the %1 files in the list with the saved list?</source>
        <translation>Die %1 Dateien in der Liste durch die gespeicherte Liste ersetzen?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>This file of the list was not found:</source>
        <translation>Diese Datei der Liste wurde nicht gefunden:</translation>
    </message>
    <message>
        <source>These files of the list were not found:</source>
        <translation>Diese Dateien der Liste wurden nicht gefunden:</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... und %n weitere.</numerusform>
            <numerusform>... und %n weitere.</numerusform>
        </translation>
    </message>
    <message>
        <source>Save List</source>
        <translation>Liste speichern</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Liste öffnen</translation>
    </message>
</context>
<context>
    <name>VCTopWidget</name>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>All media files</source>
        <translation>Alle Mediendateien</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Tarnwick Framewright</source>
        <translation>Tarnwick Framewright</translation>
    </message>
    <message>
        <source>Ver: </source>
        <translation>Ver: </translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>How to cut video</source>
        <translation>So schneiden Sie Videos</translation>
    </message>
    <message>
        <source>How to join videos</source>
        <translation>So fügen Sie Videos zusammen</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Support</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>Liste speichern…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Liste öffnen…</translation>
    </message>
</context>
<context>
    <name>VideoItemWidget</name>
    <message>
        <source>Duration:</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>Set as output format</source>
        <translation>Als Ausgabeformat festlegen</translation>
    </message>
    <message>
        <source>Audio:</source>
        <translation>Audio:</translation>
    </message>
    <message>
        <source>Set as default format</source>
        <translation>Als Standardformat festlegen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>Alle entfernen</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>Spur</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>Liste speichern…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Liste öffnen…</translation>
    </message>
</context>
<context>
    <name>VideoListWidget</name>
    <message>
        <source>File:</source>
        <translation>Dateien:</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Gesamt:</translation>
    </message>
</context>
<context>
    <name>VideoPlayerWidget</name>
    <message>
        <source>Start:</source>
        <translation>Anfang:</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>Ende:</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Apply All</source>
        <translation>Für alle</translation>
    </message>
    <message>
        <source>Set start time</source>
        <translation>Anfangszeit setzen</translation>
    </message>
    <message>
        <source>Set end time</source>
        <translation>Endzeit setzen</translation>
    </message>
</context>
</TS>
