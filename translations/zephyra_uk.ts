<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Використання: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Параметри:</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[параметри]</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Показати довідку щодо параметрів командного рядка.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Показати довідку разом із параметрами Qt.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Показати відомості про версію.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Невідомий параметр «%1».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Невідомі параметри: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Бракує значення після «%1».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Зайве значення після «%1».</translation>
    </message>
</context>
<context>
    <name>TGrownUps</name>
    <message>
        <source>Child lock: only Esc held for 3 seconds leaves a round</source>
        <translation>Дитячий замок: вийти з раунду можна, лише утримуючи Esc 3 секунди</translation>
    </message>
    <message>
        <source>Easy play: any key, click, tap or gamepad button pops a balloon</source>
        <translation>Легка гра: будь-яка клавіша, клацання, дотик або кнопка геймпада лопає кульку</translation>
    </message>
    <message>
        <source>Play time in minutes</source>
        <translation>Час гри у хвилинах</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Мова</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Гучність</translation>
    </message>
    <message>
        <source>Remember the options between starts</source>
        <translation>Запам’ятовувати параметри між запусками</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Без обмеження</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Налаштування для дорослих</translation>
    </message>
    <message>
        <source>For every start of the game</source>
        <translation>Для кожного запуску гри</translation>
    </message>
    <message>
        <source>A game that is running keeps its settings until it is closed.</source>
        <translation>Уже запущена гра зберігає свої налаштування, доки її не закриють.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>Play with these settings</source>
        <translation>Грати з цими налаштуваннями</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>Мова робочого столу</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Прослухати</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Тихо</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Гучно</translation>
    </message>
    <message>
        <source>Left out when this window opened: %1</source>
        <translation>Під час відкриття цього вікна пропущено: %1</translation>
    </message>
    <message>
        <source>Save keeps that file as %1 and writes a new one.</source>
        <translation>«Зберегти» залишить той файл як %1 і запише новий.</translation>
    </message>
    <message>
        <source>These settings cannot be kept in %1: %2. They can still be used for this start.</source>
        <translation>Ці налаштування не можна зберегти в %1: %2. Але їх можна використати для цього запуску.</translation>
    </message>
</context>
<context>
    <name>TLCDScreen</name>
    <message>
        <source>Value must be between 1 and 255.</source>
        <translation>Значення має бути від 1 до 255.</translation>
    </message>
</context>
<context>
    <name>TOptions</name>
    <message>
        <source>Options</source>
        <translation>Параметри</translation>
    </message>
    <message>
        <source>Размер шаров</source>
        <translation>Розмір кульок</translation>
    </message>
    <message>
        <source>Средние шары</source>
        <translation>Середні кульки</translation>
    </message>
    <message>
        <source>Большие шары</source>
        <translation>Великі кульки</translation>
    </message>
    <message>
        <source>Маленькие шары</source>
        <translation>Маленькі кульки</translation>
    </message>
    <message>
        <source>Размер осы</source>
        <translation>Розмір оси</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Середня</translation>
    </message>
    <message>
        <source>Большая</source>
        <translation>Велика</translation>
    </message>
    <message>
        <source>Маленькая</source>
        <translation>Маленька</translation>
    </message>
    <message>
        <source>Лопнуть шары</source>
        <translation>Як лопати кульки</translation>
    </message>
    <message>
        <source>Движением мыши</source>
        <translation>Рухом миші</translation>
    </message>
    <message>
        <source>Щелчком левой клавишей</source>
        <translation>Клацанням лівої кнопки</translation>
    </message>
    <message>
        <source>Щелчком правой клавишей</source>
        <translation>Клацанням правої кнопки</translation>
    </message>
    <message>
        <source>Скорость движения шаров</source>
        <translation>Швидкість кульок</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Мін</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Макс</translation>
    </message>
    <message>
        <source>Интервал между вылетами шаров</source>
        <translation>Інтервал між кульками</translation>
    </message>
    <message>
        <source>Показывать приз после сбитых шаров</source>
        <translation>Приз після стількох збитих кульок:</translation>
    </message>
    <message>
        <source>Воспризводить звук лопнувшего шара</source>
        <translation>Звук, коли кулька лопається</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Скасувати</translation>
    </message>
</context>
<context>
    <name>TPlay</name>
    <message>
        <source>ВЫЛЕТЕЛО - </source>
        <translation>ВИЛЕТІЛО: </translation>
    </message>
    <message>
        <source>СБИТО - </source>
        <translation>ЗБИТО: </translation>
    </message>
    <message>
        <source>EXIT - press key ESCAPE</source>
        <translation>Вихід — клавіша Esc</translation>
    </message>
    <message>
        <source>Good night, little wasp</source>
        <translation>На добраніч, маленька осо</translation>
    </message>
    <message>
        <source>Keep holding Esc to leave</source>
        <translation>Тримайте Esc, щоб вийти</translation>
    </message>
    <message>
        <source>EXIT - hold key ESCAPE for 3 seconds</source>
        <translation>Вихід — тримайте Esc 3 секунди</translation>
    </message>
</context>
<context>
    <name>TPngImageCollectionItem</name>
    <message>
        <source>Cannot assign a %1 to a %2</source>
        <translation>Не можна присвоїти %1 об&apos;єкту %2</translation>
    </message>
</context>
<context>
    <name>TSTART</name>
    <message>
        <source>Play</source>
        <translation>Грати</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметри</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Вихід</translation>
    </message>
    <message>
        <source>A happy balloon game for little ones: just move the mouse!</source>
        <translation>Весела гра з кульками для малечі: просто рухай мишкою!</translation>
    </message>
    <message>
        <source>Fly, little wasp, and POP!</source>
        <translation>Лети, осо, і лопай!</translation>
    </message>
    <message>
        <source>Steer a friendly wasp with the mouse and pop the rising balloons.</source>
        <translation>Веди мишкою добру осу і лопай кульки, що злітають.</translation>
    </message>
    <message>
        <source>Pick big, medium or small balloons and choose how fast they fly.</source>
        <translation>Кульки бувають великі, середні й маленькі, швидкі й повільні.</translation>
    </message>
    <message>
        <source>Pop them with a touch or with a click, whatever suits small hands.</source>
        <translation>Лопати можна дотиком або клацанням, як зручніше малюкові.</translation>
    </message>
    <message>
        <source>Grown-ups can set up a prize with a fanfare in the Options.</source>
        <translation>Приз із фанфарами дорослі налаштують у «Параметрах».</translation>
    </message>
    <message>
        <source>Time for a rest!</source>
        <translation>Час відпочити!</translation>
    </message>
    <message>
        <source>A grown-up must close the game and start it again.</source>
        <translation>Дорослий має закрити гру й запустити її знову.</translation>
    </message>
    <message>
        <source>Child lock on</source>
        <translation>Дитячий замок увімкнено</translation>
    </message>
    <message>
        <source>Child lock on, but this desktop does not let it hold</source>
        <translation>Дитячий замок увімкнено, але цей робочий стіл не дає йому діяти</translation>
    </message>
    <message>
        <source>Play time left: %1 min</source>
        <translation>Залишилося грати: %1 хв</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Легка гра</translation>
    </message>
</context>
<context>
    <name>zephyra</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>«%1» — не ціле число</translation>
    </message>
    <message>
        <source>Cannot decode picture &apos;%1&apos;: %2</source>
        <translation>Зображення «%1» пошкоджене: %2</translation>
    </message>
    <message>
        <source>Cannot find picture &apos;%1&apos;</source>
        <translation>Зображення «%1» не знайдено</translation>
    </message>
    <message>
        <source>A balloon-popping game for young children.</source>
        <translation>Гра для малечі: лопай повітряні кульки.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Легка гра</translation>
    </message>
    <message>
        <source>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</source>
        <translation>Легка гра: будь-яка клавіша, крім Esc, будь-яка кнопка миші, дотик або кнопка геймпада посилає осу до найближчої кульки, і вона її лопає.</translation>
    </message>
    <message>
        <source>Play with child lock</source>
        <translation>Грати з дитячим замком</translation>
    </message>
    <message>
        <source>Play for %1 minutes</source>
        <translation>Грати %1 хвилин</translation>
    </message>
    <message>
        <source>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</source>
        <translation>Дитячий замок: вийти з раунду можна, лише утримуючи Esc %1 секунди; поле не можна закрити, згорнути чи затулити.</translation>
    </message>
    <message>
        <source>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</source>
        <translation>Час гри у хвилинах, від %1 до %2. Потім кульки відлітають, і гру завершує картинка «На добраніч»; з дитячим замком кнопка «Грати» не працює до наступного запуску гри.</translation>
    </message>
    <message>
        <source>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</source>
        <translation>--minutes приймає ціле число від %1 до %2, а не «%3».</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Зайвий аргумент «%1».</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Налаштування для дорослих</translation>
    </message>
    <message>
        <source>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</source>
        <translation>Її меню на робочому столі також пропонує «%1», «%2», «%3» і «%4».</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true або false</translation>
    </message>
    <message>
        <source>%1 to %2, or %3</source>
        <translation>від %1 до %2 або %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>від %1 до %2</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>одне з %1</translation>
    </message>
    <message>
        <source>empty or one of %1</source>
        <translation>порожньо або одне з %1</translation>
    </message>
    <message>
        <source>a line that is no setting (line %1)</source>
        <translation>рядок, який не є налаштуванням (рядок %1)</translation>
    </message>
    <message>
        <source>unknown section [%1] (line %2)</source>
        <translation>невідомий розділ [%1] (рядок %2)</translation>
    </message>
    <message>
        <source>%1 before any section (line %2)</source>
        <translation>%1 до початку розділів (рядок %2)</translation>
    </message>
    <message>
        <source>%1=%2 (line %3: not %4)</source>
        <translation>%1=%2 (рядок %3: не %4)</translation>
    </message>
    <message>
        <source>unknown key %1 (line %2)</source>
        <translation>невідомий ключ %1 (рядок %2)</translation>
    </message>
    <message>
        <source>the whole file (larger than %1 KB)</source>
        <translation>весь файл (більший за %1 КБ)</translation>
    </message>
    <message>
        <source>the whole file (it cannot be read: %1)</source>
        <translation>весь файл (його неможливо прочитати: %1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 і ще %2</translation>
    </message>
    <message>
        <source>%1: left out %2</source>
        <translation>%1: пропущено: %2</translation>
    </message>
    <message>
        <source>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</source>
        <translation>Для сеансу ZEPHYRA на екрані входу, всередині cage: захист від дітей увімкнено, вебсторінка не відкривається, «Вихід» завершує сеанс.</translation>
    </message>
    <message>
        <source>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</source>
        <translation>ZEPHYRA несподівано закрилася і не змогла запуститися знову. Сеанс завершується: на екрані входу дорослий може вибрати його знову або інший.</translation>
    </message>
    <message>
        <source>The web page does not open here. A grown-up can visit %1 on another computer.</source>
        <translation>Вебсторінка тут не відкривається. Дорослий може відкрити %1 на іншому комп’ютері.</translation>
    </message>
    <message>
        <source>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</source>
        <translation>Відкриває налаштування для дорослих: дитячий замок, час гри, легку гру, мову, гучність і запам’ятовування параметрів, збережені для кожного запуску в %1.</translation>
    </message>
    <message>
        <source>These options hold until the game is closed, but they cannot be kept in %1: %2</source>
        <translation>Ці параметри діють до закриття гри, але їх не можна зберегти в %1: %2</translation>
    </message>
    <message>
        <source>the whole file (it is a folder)</source>
        <translation>весь файл (це тека)</translation>
    </message>
    <message>
        <source>the whole file (it is no regular file)</source>
        <translation>весь файл (це не звичайний файл)</translation>
    </message>
    <message>
        <source>the whole file (a link that leads nowhere)</source>
        <translation>весь файл (посилання, що нікуди не веде)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>диск заповнений</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>квоту на диску вичерпано</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>диск лише для читання</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>доступ заборонено</translation>
    </message>
    <message>
        <source>the disk could not be read or written</source>
        <translation>диск не вдалося прочитати або записати</translation>
    </message>
    <message>
        <source>the file %1 is read-only</source>
        <translation>файл %1 лише для читання</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation>до теки %1 неможливо записати</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder</source>
        <translation>%1 — файл, а не тека</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 — тека, а не файл</translation>
    </message>
    <message>
        <source>it is a link to %1, which is no regular file</source>
        <translation>це посилання на %1, а це не звичайний файл</translation>
    </message>
    <message>
        <source>%1 is a link that leads nowhere</source>
        <translation>%1 — посилання, що нікуди не веде</translation>
    </message>
    <message>
        <source>it keeps its language until it is closed</source>
        <translation>вона зберігає свою мову, доки її не закриють</translation>
    </message>
    <message>
        <source>The game already running came forward, but %1.</source>
        <translation>Уже запущена гра вийшла на передній план, але %1.</translation>
    </message>
    <message>
        <source>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</source>
        <translation>дитячий замок не може діяти на цьому робочому столі: без XWayland жодна програма не може утримувати клавіатуру й мишу</translation>
    </message>
    <message>
        <source>it is an earlier version that cannot take these choices: close it and start the game again</source>
        <translation>це попередня версія, вона не може прийняти цей вибір: закрийте її та запустіть гру знову</translation>
    </message>
</context>
</TS>
