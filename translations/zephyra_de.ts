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
        <source>Its menu on the desktop also offers &quot;%1&quot; and &quot;%2&quot;.</source>
        <translation>Sein Menü auf dem Desktop bietet auch „%1“ und „%2“.</translation>
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
</context>
</TS>
