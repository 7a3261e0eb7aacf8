<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[options]</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Displays help on commandline options.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Displays help including Qt specific options.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Displays version information.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Unknown option &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Unknown options: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Missing value after &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Unexpected value after &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>TGrownUps</name>
    <message>
        <source>Child lock: only Esc held for 3 seconds leaves a round</source>
        <translation>Child lock: only Esc held for 3 seconds leaves a round</translation>
    </message>
    <message>
        <source>Easy play: any key, click, tap or gamepad button pops a balloon</source>
        <translation>Easy play: any key, click, tap or gamepad button pops a balloon</translation>
    </message>
    <message>
        <source>Play time in minutes</source>
        <translation>Play time in minutes</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Remember the options between starts</source>
        <translation>Remember the options between starts</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>No limit</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Settings for grown-ups</translation>
    </message>
    <message>
        <source>For every start of the game</source>
        <translation>For every start of the game</translation>
    </message>
    <message>
        <source>A game that is running keeps its settings until it is closed.</source>
        <translation>A game that is running keeps its settings until it is closed.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Play with these settings</source>
        <translation>Play with these settings</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>The desktop&apos;s language</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Quiet</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Full</translation>
    </message>
    <message>
        <source>Left out when this window opened: %1</source>
        <translation>Left out when this window opened: %1</translation>
    </message>
    <message>
        <source>Save keeps that file as %1 and writes a new one.</source>
        <translation>Save keeps that file as %1 and writes a new one.</translation>
    </message>
    <message>
        <source>These settings cannot be kept in %1: %2. They can still be used for this start.</source>
        <translation>These settings cannot be kept in %1: %2. They can still be used for this start.</translation>
    </message>
</context>
<context>
    <name>TLCDScreen</name>
    <message>
        <source>Value must be between 1 and 255.</source>
        <translation>The value must be between 1 and 255.</translation>
    </message>
</context>
<context>
    <name>TOptions</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Размер шаров</source>
        <translation>Balloon size</translation>
    </message>
    <message>
        <source>Средние шары</source>
        <translation>Medium balloons</translation>
    </message>
    <message>
        <source>Большие шары</source>
        <translation>Large balloons</translation>
    </message>
    <message>
        <source>Маленькие шары</source>
        <translation>Small balloons</translation>
    </message>
    <message>
        <source>Размер осы</source>
        <translation>Wasp size</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Большая</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>Маленькая</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>Лопнуть шары</source>
        <translation>How to pop balloons</translation>
    </message>
    <message>
        <source>Движением мыши</source>
        <translation>By moving the mouse</translation>
    </message>
    <message>
        <source>Щелчком левой клавишей</source>
        <translation>With a left click</translation>
    </message>
    <message>
        <source>Щелчком правой клавишей</source>
        <translation>With a right click</translation>
    </message>
    <message>
        <source>Скорость движения шаров</source>
        <translation>Balloon speed</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Интервал между вылетами шаров</source>
        <translation>Time between balloons</translation>
    </message>
    <message>
        <source>Показывать приз после сбитых шаров</source>
        <translation>Show a prize after this many pops:</translation>
    </message>
    <message>
        <source>Воспризводить звук лопнувшего шара</source>
        <translation>Play a sound when a balloon pops</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TPlay</name>
    <message>
        <source>ВЫЛЕТЕЛО - </source>
        <translation>BALLOONS: </translation>
    </message>
    <message>
        <source>СБИТО - </source>
        <translation>POPS: </translation>
    </message>
    <message>
        <source>EXIT - press key ESCAPE</source>
        <translation>To leave, press Esc</translation>
    </message>
    <message>
        <source>Good night, little wasp</source>
        <translation>Good night, little wasp</translation>
    </message>
    <message>
        <source>Keep holding Esc to leave</source>
        <translation>Keep holding Esc to leave</translation>
    </message>
    <message>
        <source>EXIT - hold key ESCAPE for 3 seconds</source>
        <translation>To leave, hold Esc for 3 seconds</translation>
    </message>
</context>
<context>
    <name>TPngImageCollectionItem</name>
    <message>
        <source>Cannot assign a %1 to a %2</source>
        <translation>A %1 cannot be assigned to a %2</translation>
    </message>
</context>
<context>
    <name>TSTART</name>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>A happy balloon game for little ones: just move the mouse!</source>
        <translation>A happy balloon game for little ones: just move the mouse!</translation>
    </message>
    <message>
        <source>Fly, little wasp, and POP!</source>
        <translation>Fly, little wasp, and POP!</translation>
    </message>
    <message>
        <source>Steer a friendly wasp with the mouse and pop the rising balloons.</source>
        <translation>Steer a friendly wasp with the mouse and pop the rising balloons.</translation>
    </message>
    <message>
        <source>Pick big, medium or small balloons and choose how fast they fly.</source>
        <translation>Pick big, medium or small balloons and choose how fast they fly.</translation>
    </message>
    <message>
        <source>Pop them with a touch or with a click, whatever suits small hands.</source>
        <translation>Pop them with a touch or with a click, whatever suits small hands.</translation>
    </message>
    <message>
        <source>Grown-ups can set up a prize with a fanfare in the Options.</source>
        <translation>Grown-ups can set up a prize with a fanfare in the Options.</translation>
    </message>
    <message>
        <source>Time for a rest!</source>
        <translation>Time for a rest!</translation>
    </message>
    <message>
        <source>A grown-up must close the game and start it again.</source>
        <translation>A grown-up must close the game and start it again.</translation>
    </message>
    <message>
        <source>Child lock on</source>
        <translation>Child lock on</translation>
    </message>
    <message>
        <source>Child lock on, but this desktop does not let it hold</source>
        <translation>Child lock on, but this desktop does not let it hold</translation>
    </message>
    <message>
        <source>Play time left: %1 min</source>
        <translation>Play time left: %1 min</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Easy play</translation>
    </message>
</context>
<context>
    <name>zephyra</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>Cannot decode picture &apos;%1&apos;: %2</source>
        <translation>The picture &apos;%1&apos; is damaged: %2</translation>
    </message>
    <message>
        <source>Cannot find picture &apos;%1&apos;</source>
        <translation>The picture &apos;%1&apos; is missing</translation>
    </message>
    <message>
        <source>A balloon-popping game for young children.</source>
        <translation>A balloon-popping game for young children.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Easy play</translation>
    </message>
    <message>
        <source>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</source>
        <translation>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</translation>
    </message>
    <message>
        <source>Play with child lock</source>
        <translation>Play with child lock</translation>
    </message>
    <message>
        <source>Play for %1 minutes</source>
        <translation>Play for %1 minutes</translation>
    </message>
    <message>
        <source>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</source>
        <translation>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</translation>
    </message>
    <message>
        <source>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</source>
        <translation>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</translation>
    </message>
    <message>
        <source>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</source>
        <translation>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unexpected argument &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Settings for grown-ups</translation>
    </message>
    <message>
        <source>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</source>
        <translation>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true or false</translation>
    </message>
    <message>
        <source>%1 to %2, or %3</source>
        <translation>%1 to %2, or %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>one of %1</translation>
    </message>
    <message>
        <source>empty or one of %1</source>
        <translation>empty or one of %1</translation>
    </message>
    <message>
        <source>a line that is no setting (line %1)</source>
        <translation>a line that is no setting (line %1)</translation>
    </message>
    <message>
        <source>unknown section [%1] (line %2)</source>
        <translation>unknown section [%1] (line %2)</translation>
    </message>
    <message>
        <source>%1 before any section (line %2)</source>
        <translation>%1 before any section (line %2)</translation>
    </message>
    <message>
        <source>%1=%2 (line %3: not %4)</source>
        <translation>%1=%2 (line %3: not %4)</translation>
    </message>
    <message>
        <source>unknown key %1 (line %2)</source>
        <translation>unknown key %1 (line %2)</translation>
    </message>
    <message>
        <source>the whole file (larger than %1 KB)</source>
        <translation>the whole file (larger than %1 KB)</translation>
    </message>
    <message>
        <source>the whole file (it cannot be read: %1)</source>
        <translation>the whole file (it cannot be read: %1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 and %2 more</translation>
    </message>
    <message>
        <source>%1: left out %2</source>
        <translation>%1: left out %2</translation>
    </message>
    <message>
        <source>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</source>
        <translation>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</translation>
    </message>
    <message>
        <source>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</source>
        <translation>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</translation>
    </message>
    <message>
        <source>The web page does not open here. A grown-up can visit %1 on another computer.</source>
        <translation>The web page does not open here. A grown-up can visit %1 on another computer.</translation>
    </message>
    <message>
        <source>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</source>
        <translation>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</translation>
    </message>
    <message>
        <source>These options hold until the game is closed, but they cannot be kept in %1: %2</source>
        <translation>These options hold until the game is closed, but they cannot be kept in %1: %2</translation>
    </message>
    <message>
        <source>the whole file (it is a folder)</source>
        <translation>the whole file (it is a folder)</translation>
    </message>
    <message>
        <source>the whole file (it is no regular file)</source>
        <translation>the whole file (it is no regular file)</translation>
    </message>
    <message>
        <source>the whole file (a link that leads nowhere)</source>
        <translation>the whole file (a link that leads nowhere)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>the disk quota is used up</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>the disk could not be read or written</source>
        <translation>the disk could not be read or written</translation>
    </message>
    <message>
        <source>the file %1 is read-only</source>
        <translation>the file %1 is read-only</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation>the folder %1 cannot be written</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder</source>
        <translation>%1 is a file, not a folder</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 is a folder, not a file</translation>
    </message>
    <message>
        <source>it is a link to %1, which is no regular file</source>
        <translation>it is a link to %1, which is no regular file</translation>
    </message>
    <message>
        <source>%1 is a link that leads nowhere</source>
        <translation>%1 is a link that leads nowhere</translation>
    </message>
    <message>
        <source>it keeps its language until it is closed</source>
        <translation>it keeps its language until it is closed</translation>
    </message>
    <message>
        <source>The game already running came forward, but %1.</source>
        <translation>The game already running came forward, but %1.</translation>
    </message>
    <message>
        <source>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</source>
        <translation>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</translation>
    </message>
    <message>
        <source>it is an earlier version that cannot take these choices: close it and start the game again</source>
        <translation>it is an earlier version that cannot take these choices: close it and start the game again</translation>
    </message>
</context>
</TS>
