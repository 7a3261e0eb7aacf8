<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Uso: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Opciones:</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[opciones]</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Muestra la ayuda sobre las opciones de la línea de órdenes.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Muestra la ayuda, incluidas las opciones propias de Qt.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Muestra la información de la versión.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Opción desconocida «%1».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Opciones desconocidas: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Falta un valor después de «%1».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Valor inesperado después de «%1».</translation>
    </message>
</context>
<context>
    <name>TGrownUps</name>
    <message>
        <source>Child lock: only Esc held for 3 seconds leaves a round</source>
        <translation>Bloqueo infantil: solo Esc pulsado 3 segundos sale de la ronda</translation>
    </message>
    <message>
        <source>Easy play: any key, click, tap or gamepad button pops a balloon</source>
        <translation>Juego fácil: cualquier tecla, clic, toque o botón del mando revienta un globo</translation>
    </message>
    <message>
        <source>Play time in minutes</source>
        <translation>Tiempo de juego en minutos</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message>
        <source>Remember the options between starts</source>
        <translation>Recordar las opciones entre inicios</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sin límite</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Ajustes para adultos</translation>
    </message>
    <message>
        <source>For every start of the game</source>
        <translation>Para cada inicio del juego</translation>
    </message>
    <message>
        <source>A game that is running keeps its settings until it is closed.</source>
        <translation>Un juego ya abierto conserva sus ajustes hasta que se cierre.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Play with these settings</source>
        <translation>Jugar con estos ajustes</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>El idioma del escritorio</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Escuchar</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Bajo</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Alto</translation>
    </message>
    <message>
        <source>Left out when this window opened: %1</source>
        <translation>Se omitió al abrir esta ventana: %1</translation>
    </message>
    <message>
        <source>Save keeps that file as %1 and writes a new one.</source>
        <translation>Guardar conserva ese archivo como %1 y escribe uno nuevo.</translation>
    </message>
    <message>
        <source>These settings cannot be kept in %1: %2. They can still be used for this start.</source>
        <translation>Estos ajustes no se pueden guardar en %1: %2. Aun así pueden usarse en este inicio.</translation>
    </message>
</context>
<context>
    <name>TLCDScreen</name>
    <message>
        <source>Value must be between 1 and 255.</source>
        <translation>El valor debe estar entre 1 y 255.</translation>
    </message>
</context>
<context>
    <name>TOptions</name>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Размер шаров</source>
        <translation>Tamaño de los globos</translation>
    </message>
    <message>
        <source>Средние шары</source>
        <translation>Globos medianos</translation>
    </message>
    <message>
        <source>Большие шары</source>
        <translation>Globos grandes</translation>
    </message>
    <message>
        <source>Маленькие шары</source>
        <translation>Globos pequeños</translation>
    </message>
    <message>
        <source>Размер осы</source>
        <translation>Tamaño de la avispa</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Mediana</translation>
    </message>
    <message>
        <source>Большая</source>
        <translation>Grande</translation>
    </message>
    <message>
        <source>Маленькая</source>
        <translation>Pequeña</translation>
    </message>
    <message>
        <source>Лопнуть шары</source>
        <translation>Cómo reventar los globos</translation>
    </message>
    <message>
        <source>Движением мыши</source>
        <translation>Moviendo el ratón</translation>
    </message>
    <message>
        <source>Щелчком левой клавишей</source>
        <translation>Con el botón izquierdo</translation>
    </message>
    <message>
        <source>Щелчком правой клавишей</source>
        <translation>Con el botón derecho</translation>
    </message>
    <message>
        <source>Скорость движения шаров</source>
        <translation>Velocidad de los globos</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Mín</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Máx</translation>
    </message>
    <message>
        <source>Интервал между вылетами шаров</source>
        <translation>Tiempo entre globos</translation>
    </message>
    <message>
        <source>Показывать приз после сбитых шаров</source>
        <translation>Premio al reventar esta cantidad:</translation>
    </message>
    <message>
        <source>Воспризводить звук лопнувшего шара</source>
        <translation>Sonido al reventar un globo</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>TPlay</name>
    <message>
        <source>ВЫЛЕТЕЛО - </source>
        <translation>GLOBOS: </translation>
    </message>
    <message>
        <source>СБИТО - </source>
        <translation>PUM: </translation>
    </message>
    <message>
        <source>EXIT - press key ESCAPE</source>
        <translation>Para salir, pulsa Esc</translation>
    </message>
    <message>
        <source>Good night, little wasp</source>
        <translation>Buenas noches, avispita</translation>
    </message>
    <message>
        <source>Keep holding Esc to leave</source>
        <translation>Mantén pulsada Esc para salir</translation>
    </message>
    <message>
        <source>EXIT - hold key ESCAPE for 3 seconds</source>
        <translation>Para salir, mantén pulsada Esc 3 segundos</translation>
    </message>
</context>
<context>
    <name>TPngImageCollectionItem</name>
    <message>
        <source>Cannot assign a %1 to a %2</source>
        <translation>No se puede asignar un %1 a un %2</translation>
    </message>
</context>
<context>
    <name>TSTART</name>
    <message>
        <source>Play</source>
        <translation>Jugar</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>A happy balloon game for little ones: just move the mouse!</source>
        <translation>Un alegre juego de globos para peques: ¡solo mueve el ratón!</translation>
    </message>
    <message>
        <source>Fly, little wasp, and POP!</source>
        <translation>¡Vuela, avispita, y PUM!</translation>
    </message>
    <message>
        <source>Steer a friendly wasp with the mouse and pop the rising balloons.</source>
        <translation>Guía a la avispa con el ratón y revienta los globos que suben.</translation>
    </message>
    <message>
        <source>Pick big, medium or small balloons and choose how fast they fly.</source>
        <translation>Globos grandes, medianos o pequeños, lentos o rápidos.</translation>
    </message>
    <message>
        <source>Pop them with a touch or with a click, whatever suits small hands.</source>
        <translation>Se revientan con un toque o con un clic, como mejor le vaya.</translation>
    </message>
    <message>
        <source>Grown-ups can set up a prize with a fanfare in the Options.</source>
        <translation>Los mayores pueden poner un premio con fanfarria en «Opciones».</translation>
    </message>
    <message>
        <source>Time for a rest!</source>
        <translation>¡Hora de descansar!</translation>
    </message>
    <message>
        <source>A grown-up must close the game and start it again.</source>
        <translation>Un adulto debe cerrar el juego y volver a abrirlo.</translation>
    </message>
    <message>
        <source>Child lock on</source>
        <translation>Bloqueo infantil activado</translation>
    </message>
    <message>
        <source>Child lock on, but this desktop does not let it hold</source>
        <translation>Bloqueo infantil activado, pero este escritorio no deja que funcione</translation>
    </message>
    <message>
        <source>Play time left: %1 min</source>
        <translation>Tiempo de juego restante: %1 min</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Juego fácil</translation>
    </message>
</context>
<context>
    <name>zephyra</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>«%1» no es un número entero</translation>
    </message>
    <message>
        <source>Cannot decode picture &apos;%1&apos;: %2</source>
        <translation>La imagen «%1» está dañada: %2</translation>
    </message>
    <message>
        <source>Cannot find picture &apos;%1&apos;</source>
        <translation>No se encuentra la imagen «%1»</translation>
    </message>
    <message>
        <source>A balloon-popping game for young children.</source>
        <translation>Un juego de reventar globos para peques.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Juego fácil</translation>
    </message>
    <message>
        <source>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</source>
        <translation>Juego fácil: cualquier tecla salvo Esc, cualquier botón del ratón, un toque o un botón del mando envía la avispa al globo más cercano, y lo revienta.</translation>
    </message>
    <message>
        <source>Play with child lock</source>
        <translation>Jugar con bloqueo infantil</translation>
    </message>
    <message>
        <source>Play for %1 minutes</source>
        <translation>Jugar %1 minutos</translation>
    </message>
    <message>
        <source>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</source>
        <translation>Bloqueo infantil: durante una partida solo se sale manteniendo pulsada Esc %1 segundos; el campo no se puede cerrar, minimizar ni tapar.</translation>
    </message>
    <message>
        <source>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</source>
        <translation>Tiempo de juego en minutos, de %1 a %2. Después los globos se van flotando y un dibujo de buenas noches termina la partida; con el bloqueo infantil, «Jugar» queda cerrado hasta que el juego se vuelva a abrir.</translation>
    </message>
    <message>
        <source>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</source>
        <translation>--minutes espera un número entero de %1 a %2, no «%3».</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argumento inesperado «%1».</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Ajustes para adultos</translation>
    </message>
    <message>
        <source>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</source>
        <translation>Su menú en el escritorio también ofrece «%1», «%2», «%3» y «%4».</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true o false</translation>
    </message>
    <message>
        <source>%1 to %2, or %3</source>
        <translation>de %1 a %2, o %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>de %1 a %2</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>uno de %1</translation>
    </message>
    <message>
        <source>empty or one of %1</source>
        <translation>vacío o uno de %1</translation>
    </message>
    <message>
        <source>a line that is no setting (line %1)</source>
        <translation>una línea que no es un ajuste (línea %1)</translation>
    </message>
    <message>
        <source>unknown section [%1] (line %2)</source>
        <translation>la sección desconocida [%1] (línea %2)</translation>
    </message>
    <message>
        <source>%1 before any section (line %2)</source>
        <translation>%1 antes de toda sección (línea %2)</translation>
    </message>
    <message>
        <source>%1=%2 (line %3: not %4)</source>
        <translation>%1=%2 (línea %3: no %4)</translation>
    </message>
    <message>
        <source>unknown key %1 (line %2)</source>
        <translation>la clave desconocida %1 (línea %2)</translation>
    </message>
    <message>
        <source>the whole file (larger than %1 KB)</source>
        <translation>todo el archivo (más de %1 KB)</translation>
    </message>
    <message>
        <source>the whole file (it cannot be read: %1)</source>
        <translation>todo el archivo (no se puede leer: %1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 y %2 más</translation>
    </message>
    <message>
        <source>%1: left out %2</source>
        <translation>%1: se omitió %2</translation>
    </message>
    <message>
        <source>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</source>
        <translation>Para la sesión ZEPHYRA de la pantalla de inicio de sesión, dentro de cage: bloqueo infantil activado, ninguna página web, y Salir termina la sesión.</translation>
    </message>
    <message>
        <source>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</source>
        <translation>ZEPHYRA se cerró inesperadamente y no se pudo volver a iniciar. Esta sesión termina ahora: en la pantalla de inicio de sesión, un adulto puede elegirla de nuevo u otra.</translation>
    </message>
    <message>
        <source>The web page does not open here. A grown-up can visit %1 on another computer.</source>
        <translation>La página web no se abre aquí. Un adulto puede visitar %1 en otro ordenador.</translation>
    </message>
    <message>
        <source>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</source>
        <translation>Abre los ajustes para adultos: bloqueo infantil, tiempo de juego, juego fácil, idioma, volumen y si se recuerdan las opciones, guardados para cada inicio en %1.</translation>
    </message>
    <message>
        <source>These options hold until the game is closed, but they cannot be kept in %1: %2</source>
        <translation>Estas opciones valen hasta que se cierre el juego, pero no se pueden guardar en %1: %2</translation>
    </message>
    <message>
        <source>the whole file (it is a folder)</source>
        <translation>todo el archivo (es una carpeta)</translation>
    </message>
    <message>
        <source>the whole file (it is no regular file)</source>
        <translation>todo el archivo (no es un archivo normal)</translation>
    </message>
    <message>
        <source>the whole file (a link that leads nowhere)</source>
        <translation>todo el archivo (un enlace que no lleva a ninguna parte)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>la cuota de disco está agotada</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>el disco es de solo lectura</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permiso denegado</translation>
    </message>
    <message>
        <source>the disk could not be read or written</source>
        <translation>no se pudo leer o escribir el disco</translation>
    </message>
    <message>
        <source>the file %1 is read-only</source>
        <translation>el archivo %1 es de solo lectura</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation>no se puede escribir en la carpeta %1</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder</source>
        <translation>%1 es un archivo, no una carpeta</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 es una carpeta, no un archivo</translation>
    </message>
    <message>
        <source>it is a link to %1, which is no regular file</source>
        <translation>es un enlace a %1, que no es un archivo normal</translation>
    </message>
    <message>
        <source>%1 is a link that leads nowhere</source>
        <translation>%1 es un enlace que no lleva a ninguna parte</translation>
    </message>
    <message>
        <source>it keeps its language until it is closed</source>
        <translation>mantiene su idioma hasta que se cierre</translation>
    </message>
    <message>
        <source>The game already running came forward, but %1.</source>
        <translation>El juego que ya estaba abierto pasó al frente, pero %1.</translation>
    </message>
    <message>
        <source>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</source>
        <translation>el bloqueo infantil no puede funcionar en este escritorio: sin XWayland ningún programa puede retener el teclado y el ratón</translation>
    </message>
    <message>
        <source>it is an earlier version that cannot take these choices: close it and start the game again</source>
        <translation>es una versión anterior que no puede aplicar estas opciones: ciérrelo y vuelva a iniciar el juego</translation>
    </message>
</context>
</TS>
