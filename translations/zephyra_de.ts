<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Aufruf: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[Optionen]</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt die Hilfe zu den Befehlszeilenoptionen.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Zeigt die Hilfe einschließlich der Qt-eigenen Optionen.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Zeigt die Versionsinformation.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Unbekannte Option „%1“.</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Unbekannte Optionen: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Fehlender Wert nach „%1“.</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Unerwarteter Wert nach „%1“.</translation>
    </message>
</context>
<context>
    <name>TGrownUps</name>
    <message>
        <source>Child lock: only Esc held for 3 seconds leaves a round</source>
        <translation>Kindersicherung: Nur 3 Sekunden gehaltenes Esc beendet eine Runde</translation>
    </message>
    <message>
        <source>Easy play: any key, click, tap or gamepad button pops a balloon</source>
        <translation>Einfach spielen: Jede Taste, Maustaste, Tippen oder Gamepad-Taste lässt einen Ballon platzen</translation>
    </message>
    <message>
        <source>Play time in minutes</source>
        <translation>Spielzeit in Minuten</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Remember the options between starts</source>
        <translation>Die Einstellungen bis zum nächsten Start merken</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Unbegrenzt</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Einstellungen für Erwachsene</translation>
    </message>
    <message>
        <source>For every start of the game</source>
        <translation>Für jeden Start des Spiels</translation>
    </message>
    <message>
        <source>A game that is running keeps its settings until it is closed.</source>
        <translation>Ein laufendes Spiel behält seine Einstellungen, bis es geschlossen wird.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Play with these settings</source>
        <translation>Mit diesen Einstellungen spielen</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>Die Sprache des Desktops</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Anhören</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Leise</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Laut</translation>
    </message>
    <message>
        <source>Left out when this window opened: %1</source>
        <translation>Beim Öffnen dieses Fensters ausgelassen: %1</translation>
    </message>
    <message>
        <source>Save keeps that file as %1 and writes a new one.</source>
        <translation>Speichern behält diese Datei als %1 und schreibt eine neue.</translation>
    </message>
    <message>
        <source>These settings cannot be kept in %1: %2. They can still be used for this start.</source>
        <translation>Diese Einstellungen lassen sich nicht in %1 behalten: %2. Für diesen Start können sie trotzdem gelten.</translation>
    </message>
</context>
<context>
    <name>TLCDScreen</name>
    <message>
        <source>Value must be between 1 and 255.</source>
        <translation>Der Wert muss zwischen 1 und 255 liegen.</translation>
    </message>
</context>
<context>
    <name>TOptions</name>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Размер шаров</source>
        <translation>Ballongröße</translation>
    </message>
    <message>
        <source>Средние шары</source>
        <translation>Mittelgroße Ballons</translation>
    </message>
    <message>
        <source>Большие шары</source>
        <translation>Große Ballons</translation>
    </message>
    <message>
        <source>Маленькие шары</source>
        <translation>Kleine Ballons</translation>
    </message>
    <message>
        <source>Размер осы</source>
        <translation>Größe der Wespe</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Большая</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Маленькая</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Лопнуть шары</source>
        <translation>So platzen die Ballons</translation>
    </message>
    <message>
        <source>Движением мыши</source>
        <translation>Durch Bewegen der Maus</translation>
    </message>
    <message>
        <source>Щелчком левой клавишей</source>
        <translation>Mit der linken Maustaste</translation>
    </message>
    <message>
        <source>Щелчком правой клавишей</source>
        <translation>Mit der rechten Maustaste</translation>
    </message>
    <message>
        <source>Скорость движения шаров</source>
        <translation>Tempo der Ballons</translation>
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
        <translation>Abstand zwischen den Ballons</translation>
    </message>
    <message>
        <source>Показывать приз после сбитых шаров</source>
        <translation>Preis nach so vielen Treffern:</translation>
    </message>
    <message>
        <source>Воспризводить звук лопнувшего шара</source>
        <translation>Ton beim Platzen abspielen</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TPlay</name>
    <message>
        <source>ВЫЛЕТЕЛО - </source>
        <translation>BALLONS: </translation>
    </message>
    <message>
        <source>СБИТО - </source>
        <translation>PENG: </translation>
    </message>
    <message>
        <source>EXIT - press key ESCAPE</source>
        <translation>Beenden mit der Taste Esc</translation>
    </message>
    <message>
        <source>Good night, little wasp</source>
        <translation>Gute Nacht, kleine Wespe</translation>
    </message>
    <message>
        <source>Keep holding Esc to leave</source>
        <translation>Esc gedrückt halten zum Verlassen</translation>
    </message>
    <message>
        <source>EXIT - hold key ESCAPE for 3 seconds</source>
        <translation>Beenden: Esc 3 Sekunden gedrückt halten</translation>
    </message>
</context>
<context>
    <name>TPngImageCollectionItem</name>
    <message>
        <source>Cannot assign a %1 to a %2</source>
        <translation>%1 kann keinem %2 zugewiesen werden</translation>
    </message>
</context>
<context>
    <name>TSTART</name>
    <message>
        <source>Play</source>
        <translation>Los!</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>A happy balloon game for little ones: just move the mouse!</source>
        <translation>Ein fröhliches Ballonspiel für die Kleinen: einfach die Maus bewegen!</translation>
    </message>
    <message>
        <source>Fly, little wasp, and POP!</source>
        <translation>Flieg, Wespe, und PENG!</translation>
    </message>
    <message>
        <source>Steer a friendly wasp with the mouse and pop the rising balloons.</source>
        <translation>Lenke die Wespe mit der Maus und lass die Ballons platzen.</translation>
    </message>
    <message>
        <source>Pick big, medium or small balloons and choose how fast they fly.</source>
        <translation>Große, mittlere oder kleine Ballons, schnell oder langsam.</translation>
    </message>
    <message>
        <source>Pop them with a touch or with a click, whatever suits small hands.</source>
        <translation>Zum Platzen reicht ein Antippen oder ein Klick, wie es passt.</translation>
    </message>
    <message>
        <source>Grown-ups can set up a prize with a fanfare in the Options.</source>
        <translation>Einen Preis mit Fanfare stellen Erwachsene unter „Optionen“ ein.</translation>
    </message>
    <message>
        <source>Time for a rest!</source>
        <translation>Zeit für eine Pause!</translation>
    </message>
    <message>
        <source>A grown-up must close the game and start it again.</source>
        <translation>Ein Erwachsener: Spiel schließen und neu starten.</translation>
    </message>
    <message>
        <source>Child lock on</source>
        <translation>Kindersperre an</translation>
    </message>
    <message>
        <source>Child lock on, but this desktop does not let it hold</source>
        <translation>Kindersperre an, aber dieser Desktop lässt sie nicht greifen</translation>
    </message>
    <message>
        <source>Play time left: %1 min</source>
        <translation>Spielzeit übrig: %1 Min.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Einfach spielen</translation>
    </message>
</context>
<context>
    <name>zephyra</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>Cannot decode picture &apos;%1&apos;: %2</source>
        <translation>Das Bild „%1“ ist beschädigt: %2</translation>
    </message>
    <message>
        <source>Cannot find picture &apos;%1&apos;</source>
        <translation>Das Bild „%1“ fehlt</translation>
    </message>
    <message>
        <source>A balloon-popping game for young children.</source>
        <translation>Ein Ballonspiel für kleine Kinder.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Einfach spielen</translation>
    </message>
    <message>
        <source>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</source>
        <translation>Einfach spielen: Jede Taste außer Esc, jede Maustaste, ein Tippen oder eine Gamepad-Taste schickt die Wespe zum nächsten Ballon, und sie lässt ihn platzen.</translation>
    </message>
    <message>
        <source>Play with child lock</source>
        <translation>Mit Kindersicherung spielen</translation>
    </message>
    <message>
        <source>Play for %1 minutes</source>
        <translation>%1 Minuten spielen</translation>
    </message>
    <message>
        <source>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</source>
        <translation>Kindersicherung: Eine Runde endet nur, wenn Esc %1 Sekunden lang gehalten wird; das Spielfeld lässt sich nicht schließen, minimieren oder verdecken.</translation>
    </message>
    <message>
        <source>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</source>
        <translation>Spielzeit in Minuten, %1 bis %2. Danach schweben die Ballons davon und ein Gute-Nacht-Bild beendet das Spiel; mit Kindersicherung bleibt „Los!“ bis zum nächsten Start des Spiels gesperrt.</translation>
    </message>
    <message>
        <source>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</source>
        <translation>--minutes erwartet eine ganze Zahl von %1 bis %2, nicht „%3“.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Einstellungen für Erwachsene</translation>
    </message>
    <message>
        <source>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</source>
        <translation>Sein Menü auf dem Desktop bietet auch „%1“, „%2“, „%3“ und „%4“.</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true oder false</translation>
    </message>
    <message>
        <source>%1 to %2, or %3</source>
        <translation>%1 bis %2 oder %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>eines von %1</translation>
    </message>
    <message>
        <source>empty or one of %1</source>
        <translation>leer oder eines von %1</translation>
    </message>
    <message>
        <source>a line that is no setting (line %1)</source>
        <translation>eine Zeile, die keine Einstellung ist (Zeile %1)</translation>
    </message>
    <message>
        <source>unknown section [%1] (line %2)</source>
        <translation>den unbekannten Abschnitt [%1] (Zeile %2)</translation>
    </message>
    <message>
        <source>%1 before any section (line %2)</source>
        <translation>%1 vor jedem Abschnitt (Zeile %2)</translation>
    </message>
    <message>
        <source>%1=%2 (line %3: not %4)</source>
        <translation>%1=%2 (Zeile %3: nicht %4)</translation>
    </message>
    <message>
        <source>unknown key %1 (line %2)</source>
        <translation>den unbekannten Schlüssel %1 (Zeile %2)</translation>
    </message>
    <message>
        <source>the whole file (larger than %1 KB)</source>
        <translation>die ganze Datei (größer als %1 KB)</translation>
    </message>
    <message>
        <source>the whole file (it cannot be read: %1)</source>
        <translation>die ganze Datei (sie lässt sich nicht lesen: %1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>%1: left out %2</source>
        <translation>%1: ausgelassen: %2</translation>
    </message>
    <message>
        <source>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</source>
        <translation>Für die Sitzung ZEPHYRA am Anmeldebildschirm, in cage: Kindersicherung an, keine Webseite, und „Ende“ beendet die Sitzung.</translation>
    </message>
    <message>
        <source>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</source>
        <translation>ZEPHYRA wurde unerwartet beendet und konnte nicht wieder gestartet werden. Diese Sitzung endet jetzt: Am Anmeldebildschirm kann ein Erwachsener sie erneut wählen oder eine andere.</translation>
    </message>
    <message>
        <source>The web page does not open here. A grown-up can visit %1 on another computer.</source>
        <translation>Die Webseite öffnet sich hier nicht. Ein Erwachsener kann %1 an einem anderen Computer besuchen.</translation>
    </message>
    <message>
        <source>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</source>
        <translation>Öffnet die Einstellungen für Erwachsene: Kindersicherung, Spielzeit, einfaches Spiel, Sprache, Lautstärke und ob die Einstellungen gemerkt werden, für jeden Start gemerkt in %1.</translation>
    </message>
    <message>
        <source>These options hold until the game is closed, but they cannot be kept in %1: %2</source>
        <translation>Diese Einstellungen gelten, bis das Spiel geschlossen wird, lassen sich aber nicht in %1 behalten: %2</translation>
    </message>
    <message>
        <source>the whole file (it is a folder)</source>
        <translation>die ganze Datei (sie ist ein Ordner)</translation>
    </message>
    <message>
        <source>the whole file (it is no regular file)</source>
        <translation>die ganze Datei (sie ist keine gewöhnliche Datei)</translation>
    </message>
    <message>
        <source>the whole file (a link that leads nowhere)</source>
        <translation>die ganze Datei (eine Verknüpfung, die ins Leere führt)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>das Speicherkontingent ist aufgebraucht</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>der Datenträger ist schreibgeschützt</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>the disk could not be read or written</source>
        <translation>der Datenträger ließ sich nicht lesen oder beschreiben</translation>
    </message>
    <message>
        <source>the file %1 is read-only</source>
        <translation>die Datei %1 ist schreibgeschützt</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation>in den Ordner %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder</source>
        <translation>%1 ist eine Datei, kein Ordner</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>it is a link to %1, which is no regular file</source>
        <translation>sie ist eine Verknüpfung auf %1, und das ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>%1 is a link that leads nowhere</source>
        <translation>%1 ist eine Verknüpfung, die ins Leere führt</translation>
    </message>
    <message>
        <source>it keeps its language until it is closed</source>
        <translation>es behält seine Sprache, bis es geschlossen wird</translation>
    </message>
    <message>
        <source>The game already running came forward, but %1.</source>
        <translation>Das laufende Spiel ist nach vorn gekommen, aber %1.</translation>
    </message>
    <message>
        <source>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</source>
        <translation>die Kindersperre kann auf diesem Desktop nicht greifen: ohne XWayland darf kein Programm Tastatur und Maus festhalten</translation>
    </message>
    <message>
        <source>it is an earlier version that cannot take these choices: close it and start the game again</source>
        <translation>es ist eine frühere Version, die diese Auswahl nicht übernehmen kann: schließen Sie es und starten Sie das Spiel neu</translation>
    </message>
</context>
</TS>
