<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>ConversionJob</name>
    <message>
        <source>The job was cancelled.</source>
        <translation>La tarea se ha cancelado.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists and is left as it is.</source>
        <translation>«%1» ya existe y se deja como está.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be replaced; the result was kept as &quot;%2&quot;.</source>
        <translation>No se puede reemplazar «%1»; el resultado se ha conservado como «%2».</translation>
    </message>
    <message>
        <source>The output folder does not exist or cannot be written to. Choose another folder.</source>
        <translation>La carpeta de destino no existe o no se puede escribir en ella. Elija otra carpeta.</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>La conversión ha fallado.</translation>
    </message>
    <message>
        <source>Re-encoded: %1.</source>
        <translation>Se ha recodificado porque %1.</translation>
    </message>
    <message>
        <source>Conversion failed, error code</source>
        <translation>La conversión ha fallado, código de error</translation>
    </message>
    <message>
        <source>The output file path is too long. Choose an output folder with a shorter path.</source>
        <translation>La ruta del archivo de salida es demasiado larga. Elija una carpeta de destino con una ruta más corta.</translation>
    </message>
    <message>
        <source>The conversion stopped making progress and was ended.</source>
        <translation>La conversión ha dejado de avanzar y se ha detenido.</translation>
    </message>
    <message>
        <source>The media tool stopped before the result was complete.</source>
        <translation>La herramienta multimedia se ha detenido antes de completar el resultado.</translation>
    </message>
</context>
<context>
    <name>ConvertProgressWidget</name>
    <message>
        <source>Converting...</source>
        <translation>Convirtiendo...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Joining</source>
        <translation>Uniendo</translation>
    </message>
    <message>
        <source>Cutting</source>
        <translation>Cortando</translation>
    </message>
</context>
<context>
    <name>CutPlan</name>
    <message>
        <source>the picture has no keyframes</source>
        <translation>el vídeo no tiene fotogramas clave</translation>
    </message>
    <message>
        <source>the picture uses open groups of pictures</source>
        <translation>el vídeo usa grupos de imágenes (GOP) abiertos</translation>
    </message>
    <message>
        <source>the picture reorders more frames than an encoder can match</source>
        <translation>el vídeo reordena más fotogramas de los que un codificador puede igualar</translation>
    </message>
    <message>
        <source>the %1 container cannot carry encoded and copied frames together</source>
        <translation>el contenedor %1 no admite fotogramas codificados y copiados a la vez</translation>
    </message>
    <message>
        <source>there is no matching encoder for %1 %2</source>
        <translation>no hay ningún codificador compatible con %1 %2</translation>
    </message>
    <message>
        <source>the range is empty</source>
        <translation>el fragmento está vacío</translation>
    </message>
    <message>
        <source>the range holds no frame</source>
        <translation>el fragmento no contiene ningún fotograma</translation>
    </message>
    <message>
        <source>the range is shorter than the keyframe spacing</source>
        <translation>el fragmento es más corto que la distancia entre fotogramas clave</translation>
    </message>
</context>
<context>
    <name>FrameIndex</name>
    <message>
        <source>the file could not be read</source>
        <translation>no se ha podido leer el archivo</translation>
    </message>
    <message>
        <source>the video stream has no time base</source>
        <translation>la secuencia de vídeo no tiene base de tiempo</translation>
    </message>
</context>
<context>
    <name>HadUpdateWidget</name>
    <message>
        <source>There is a new version, do you want to update now?</source>
        <translation>Hay una nueva versión disponible. ¿Desea actualizar ahora?</translation>
    </message>
    <message>
        <source>Note: Our software is frequently optimized and upgraded. Please update to the latest version in time!</source>
        <translation>Nota: Optimizamos y mejoramos el programa con frecuencia. ¡Actualice a la última versión cuanto antes!</translation>
    </message>
    <message>
        <source>Note: This copy of Splicora is updated with your system&apos;s packages. Update it there, or read more on the homepage.</source>
        <translation>Nota: Esta copia de Splicora se actualiza con los paquetes del sistema. Actualícela desde allí o consulte más información en la página principal.</translation>
    </message>
    <message>
        <source>Change Log:</source>
        <translation>Registro de cambios:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Página principal</translation>
    </message>
    <message>
        <source>New version detected, downloading...</source>
        <translation>Se ha detectado una nueva versión. Descargando...</translation>
    </message>
    <message>
        <source>Note: If the download fails, please click the link below to download the update file through browser.</source>
        <translation>Nota: Si la descarga falla, haga clic en el siguiente enlace para descargar el archivo de actualización con el navegador.</translation>
    </message>
    <message>
        <source>Download link: </source>
        <translation>Enlace de descarga: </translation>
    </message>
    <message>
        <source>Download update file failed, Please try again for other time.</source>
        <translation>No se ha podido descargar el archivo de actualización. Vuelva a intentarlo más tarde.</translation>
    </message>
    <message>
        <source>This update cannot be verified, so it is not installed automatically. Download it with the link below.</source>
        <translation>No se puede verificar esta actualización, por lo que no se instalará automáticamente. Descárguela desde el siguiente enlace.</translation>
    </message>
    <message>
        <source>Downloading Update</source>
        <translation>Descargando actualización</translation>
    </message>
    <message>
        <source>A conversion is running. Finish or cancel it first, then update.</source>
        <translation>Hay una conversión en curso. Termínela o cancélela antes de actualizar.</translation>
    </message>
</context>
<context>
    <name>JobListFile</name>
    <message>
        <source>This is not a Splicora list: its text is not JSON (%1 at character %2).</source>
        <translation>No es una lista de Splicora: su texto no es JSON (%1 en el carácter %2).</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it holds no JSON object.</source>
        <translation>No es una lista de Splicora: no contiene ningún objeto JSON.</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no version number.</source>
        <translation>No es una lista de Splicora: no tiene número de versión.</translation>
    </message>
    <message>
        <source>This list was saved by a newer version of Splicora (list version %1); update Splicora to open it.</source>
        <translation>Esta lista se guardó con una versión más reciente de Splicora (versión de lista %1); actualice Splicora para abrirla.</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no &quot;items&quot; array.</source>
        <translation>No es una lista de Splicora: no tiene la matriz «items».</translation>
    </message>
    <message>
        <source>Item %1 of the list is not an object.</source>
        <translation>El elemento %1 de la lista no es un objeto.</translation>
    </message>
    <message>
        <source>Item %1 of the list has no path.</source>
        <translation>El elemento %1 de la lista no tiene ruta.</translation>
    </message>
    <message>
        <source>Item %1 of the list has a start that is not a time (seconds, 0 or more).</source>
        <translation>El elemento %1 de la lista tiene un inicio que no es un tiempo (segundos, 0 o más).</translation>
    </message>
    <message>
        <source>Item %1 of the list has an end that is not a time (seconds, 0 or more).</source>
        <translation>El elemento %1 de la lista tiene un final que no es un tiempo (segundos, 0 o más).</translation>
    </message>
    <message>
        <source>Item %1 of the list ends before its start.</source>
        <translation>El elemento %1 de la lista termina antes de su inicio.</translation>
    </message>
    <message>
        <source>Item %1 of the list has a track that is not a whole number, 0 or more.</source>
        <translation>El elemento %1 de la lista tiene una pista que no es un número entero de 0 o más.</translation>
    </message>
    <message>
        <source>The list could not be saved as %1: %2.</source>
        <translation>No se pudo guardar la lista como %1: %2.</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: %2.</source>
        <translation>No se puede leer la lista %1: %2.</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>no es un archivo</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: it is far too large to be a list.</source>
        <translation>No se puede leer la lista %1: es demasiado grande para ser una lista.</translation>
    </message>
</context>
<context>
    <name>ListNoItemWidget</name>
    <message>
        <source>Drag and drop files to start</source>
        <translation>Arrastre y suelte archivos para empezar</translation>
    </message>
</context>
<context>
    <name>LosslessJob</name>
    <message>
        <source>The media tool could not be started. Check that ffmpeg is installed.</source>
        <translation>No se ha podido iniciar la herramienta multimedia. Compruebe que ffmpeg esté instalado.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can no longer be read. It may have been moved or deleted.</source>
        <translation>&quot;%1&quot; ya no se puede leer. Es posible que se haya movido o eliminado.</translation>
    </message>
    <message>
        <source>The work folder cannot be written to.</source>
        <translation>No se puede escribir en la carpeta de trabajo.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or can no longer be read.</source>
        <translation>&quot;%1&quot; está dañado o ya no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be cut: %2.</source>
        <translation>&quot;%1&quot; no se puede cortar: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no sound track %2 in the kept range.</source>
        <translation>&quot;%1&quot; no tiene la pista de audio %2 en el fragmento seleccionado.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged: its frames could not be read.</source>
        <translation>&quot;%1&quot; está dañado: no se han podido leer sus fotogramas.</translation>
    </message>
    <message>
        <source>A file name holds a line break and cannot be joined. Rename the file.</source>
        <translation>El nombre de un archivo contiene un salto de línea y no se puede unir. Cambie el nombre del archivo.</translation>
    </message>
    <message>
        <source>A file named &quot;%1&quot; appeared in the output folder; nothing was written.</source>
        <translation>Ha aparecido un archivo llamado &quot;%1&quot; en la carpeta de destino; no se ha escrito nada.</translation>
    </message>
    <message>
        <source>the encoder settings of &quot;%1&quot; cannot be matched</source>
        <translation>no es posible igualar la configuración de codificación de &quot;%1&quot;</translation>
    </message>
    <message>
        <source>There is not enough room in the output folder. Free some space or choose another folder.</source>
        <translation>No hay espacio suficiente en la carpeta de destino. Libere espacio o elija otra carpeta.</translation>
    </message>
    <message>
        <source>A file has no sound track of the number chosen in its row.</source>
        <translation>Un archivo no tiene la pista de audio con el número elegido en su fila.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged and cannot be read.</source>
        <translation>&quot;%1&quot; está dañado y no se puede leer.</translation>
    </message>
    <message>
        <source>The output folder cannot be written to. Choose another folder.</source>
        <translation>No se puede escribir en la carpeta de destino. Elija otra carpeta.</translation>
    </message>
    <message>
        <source>The media tool stopped unexpectedly.</source>
        <translation>La herramienta multimedia se ha detenido inesperadamente.</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>La conversión ha fallado.</translation>
    </message>
    <message>
        <source>The result cannot be played back; it was removed.</source>
        <translation>El resultado no se puede reproducir; se ha eliminado.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ended early at %2, so the result is %3 s shorter than chosen.</source>
        <translation>&quot;%1&quot; termina antes de tiempo, en %2, por lo que el resultado dura %3 s menos de lo elegido.</translation>
    </message>
    <message>
        <source>The result is %1 s shorter than chosen.</source>
        <translation>El resultado dura %1 s menos de lo elegido.</translation>
    </message>
</context>
<context>
    <name>MyMessageDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
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
        <translation>La versión del programa que está usando es: V</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>This copy of Splicora has no update site; it is updated with your system&apos;s packages.</source>
        <translation>Esta copia de Splicora no tiene sitio de actualizaciones; se actualiza con los paquetes del sistema.</translation>
    </message>
    <message>
        <source>Could not reach the update server. Please check your connection and try again.</source>
        <translation>No se ha podido conectar con el servidor de actualizaciones. Compruebe la conexión y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>You already have the latest version, no need to update!</source>
        <translation>Ya tiene la versión más reciente. No es necesario actualizar.</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>The media tool ffmpeg was not found.
Put ffmpeg.exe beside Splicora.</source>
        <translation>No se ha encontrado la herramienta ffmpeg.
Coloque ffmpeg.exe junto a Splicora.</translation>
    </message>
    <message>
        <source>The media tool ffmpeg was not found.
Debian, Ubuntu: sudo apt install ffmpeg
or put ffmpeg beside Splicora.</source>
        <translation>No se ha encontrado la herramienta ffmpeg.
Debian, Ubuntu: sudo apt install ffmpeg
o coloque ffmpeg junto a Splicora.</translation>
    </message>
    <message>
        <source>Splicora&apos;s folder %1 is not safe: %2.
Remove it; until then each run uses a new folder.</source>
        <translation>La carpeta de Splicora %1 no es segura: %2.
Bórrela; mientras tanto, cada inicio usa otra carpeta.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>it is not a folder</source>
        <translation>no es una carpeta</translation>
    </message>
    <message>
        <source>it cannot be made</source>
        <translation>no se puede crear</translation>
    </message>
    <message>
        <source>it is a link to somewhere else</source>
        <translation>es un enlace a otra ubicación</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>pertenece a otro usuario</translation>
    </message>
    <message>
        <source>other users can reach it (mode %1)</source>
        <translation>otros usuarios pueden acceder a ella (modo %1)</translation>
    </message>
    <message>
        <source>it cannot be written</source>
        <translation>no se puede escribir en ella</translation>
    </message>
</context>
<context>
    <name>ProbeRefusal</name>
    <message>
        <source>not a media file</source>
        <translation>no es un archivo multimedia</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>dañado</translation>
    </message>
    <message>
        <source>This file was not added:</source>
        <translation>No se ha añadido este archivo:</translation>
    </message>
    <message>
        <source>These files were not added:</source>
        <translation>No se han añadido estos archivos:</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A refused file and why, e.g. &quot;notes.mp4: not a media file&quot;.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... y %n más.</numerusform>
            <numerusform>... y %n más.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VCBottomWidget</name>
    <message>
        <source>The output-format file has no sound; the sound of the other files is kept in this format.</source>
        <translation>El archivo del formato de salida no tiene sonido; el sonido de los demás archivos se conserva en este formato.</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>Perfil:</translation>
    </message>
    <message>
        <source>Exact</source>
        <translation>Exacto</translation>
    </message>
    <message>
        <source>Keyframe</source>
        <translation>Fotograma clave</translation>
    </message>
    <message>
        <source>Start on the chosen frame: the frames up to the next keyframe are encoded again, the rest is copied.</source>
        <translation>Empieza en el fotograma elegido: los fotogramas hasta el siguiente fotograma clave se vuelven a codificar y el resto se copia.</translation>
    </message>
    <message>
        <source>Copy only, nothing is encoded again: Start moves back to the keyframe at or before it.</source>
        <translation>Solo copia, no se vuelve a codificar nada: el Inicio retrocede hasta el fotograma clave que coincide con él o lo precede.</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Carpeta:</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Unir</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>Seleccionar carpeta</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>La conversión ha fallado.</translation>
    </message>
    <message>
        <source>Join Completed.</source>
        <translation>Unión completada.</translation>
    </message>
    <message>
        <source>Cut Completed.</source>
        <translation>Corte completado.</translation>
    </message>
    <message>
        <source>Conversion completed.</source>
        <translation>Conversión completada.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Abrir carpeta</translation>
    </message>
</context>
<context>
    <name>VCMainWidget</name>
    <message>
        <source>Adding files...</source>
        <translation>Añadiendo archivos...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Splicora lists (*.splicora.json *.json)</source>
        <translation>Listas de Splicora (*.splicora.json *.json)</translation>
    </message>
    <message>
        <source>The list %1 holds no files.</source>
        <translation>La lista %1 no contiene archivos.</translation>
    </message>
    <message>
        <source>Replace the file in the list with the saved list?</source>
        <translation>¿Reemplazar el archivo de la lista por la lista guardada?</translation>
    </message>
    <message>
        <source>Replace the %1 files in the list with the saved list?</source>
        <translation>¿Reemplazar los %1 archivos de la lista por la lista guardada?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>This file of the list was not found:</source>
        <translation>No se encontró este archivo de la lista:</translation>
    </message>
    <message>
        <source>These files of the list were not found:</source>
        <translation>No se encontraron estos archivos de la lista:</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... y %n más.</numerusform>
            <numerusform>... y %n más.</numerusform>
        </translation>
    </message>
    <message>
        <source>Save List</source>
        <translation>Guardar lista</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>Abrir lista</translation>
    </message>
</context>
<context>
    <name>VCTopWidget</name>
    <message>
        <source>Open File</source>
        <translation>Abrir archivos</translation>
    </message>
    <message>
        <source>All media files</source>
        <translation>Todos los archivos multimedia</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Todos los archivos</translation>
    </message>
    <message>
        <source>Tarnwick Framewright</source>
        <translation>Tarnwick Framewright</translation>
    </message>
    <message>
        <source>Ver: </source>
        <translation>Ver. </translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Vaciar</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menú</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Comentarios</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Página principal</translation>
    </message>
    <message>
        <source>How to cut video</source>
        <translation>Cómo cortar vídeos</translation>
    </message>
    <message>
        <source>How to join videos</source>
        <translation>Cómo unir vídeos</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Soporte técnico</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>Guardar lista…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Abrir lista…</translation>
    </message>
</context>
<context>
    <name>VideoItemWidget</name>
    <message>
        <source>Duration:</source>
        <translation>Duración:</translation>
    </message>
    <message>
        <source>Set as output format</source>
        <translation>Establecer como formato de salida</translation>
    </message>
    <message>
        <source>Audio:</source>
        <translation>Audio:</translation>
    </message>
    <message>
        <source>Set as default format</source>
        <translation>Establecer como formato predeterminado</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>Quitar todos</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>Pista</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>Guardar lista…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>Abrir lista…</translation>
    </message>
</context>
<context>
    <name>VideoListWidget</name>
    <message>
        <source>File:</source>
        <translation>Archivos:</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Total:</translation>
    </message>
</context>
<context>
    <name>VideoPlayerWidget</name>
    <message>
        <source>Start:</source>
        <translation>Inicio:</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>Fin:</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Restablecer</translation>
    </message>
    <message>
        <source>Apply All</source>
        <translation>Aplicar a todos</translation>
    </message>
    <message>
        <source>Set start time</source>
        <translation>Establecer punto de inicio</translation>
    </message>
    <message>
        <source>Set end time</source>
        <translation>Establecer punto final</translation>
    </message>
</context>
</TS>
