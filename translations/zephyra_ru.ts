<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Использование: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[параметры]</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Показать справку по параметрам командной строки.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Показать справку вместе с параметрами Qt.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Показать сведения о версии.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Неизвестный параметр «%1».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Неизвестные параметры: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Нет значения после «%1».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Лишнее значение после «%1».</translation>
    </message>
</context>
<context>
    <name>TGrownUps</name>
    <message>
        <source>Child lock: only Esc held for 3 seconds leaves a round</source>
        <translation>Детский замок: выйти из раунда можно, лишь удерживая Esc 3 секунды</translation>
    </message>
    <message>
        <source>Easy play: any key, click, tap or gamepad button pops a balloon</source>
        <translation>Лёгкая игра: любая клавиша, щелчок, касание или кнопка геймпада лопает шарик</translation>
    </message>
    <message>
        <source>Play time in minutes</source>
        <translation>Время игры в минутах</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Громкость</translation>
    </message>
    <message>
        <source>Remember the options between starts</source>
        <translation>Запоминать настройки между запусками</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Без ограничения</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Настройки для взрослых</translation>
    </message>
    <message>
        <source>For every start of the game</source>
        <translation>Для каждого запуска игры</translation>
    </message>
    <message>
        <source>A game that is running keeps its settings until it is closed.</source>
        <translation>Уже запущенная игра сохраняет свои настройки, пока её не закроют.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Play with these settings</source>
        <translation>Играть с этими настройками</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>Язык рабочего стола</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Прослушать</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Тихо</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Громко</translation>
    </message>
    <message>
        <source>Left out when this window opened: %1</source>
        <translation>При открытии этого окна пропущено: %1</translation>
    </message>
    <message>
        <source>Save keeps that file as %1 and writes a new one.</source>
        <translation>«Сохранить» оставит тот файл как %1 и запишет новый.</translation>
    </message>
    <message>
        <source>These settings cannot be kept in %1: %2. They can still be used for this start.</source>
        <translation>Эти настройки нельзя сохранить в %1: %2. Но их можно использовать для этого запуска.</translation>
    </message>
</context>
<context>
    <name>TLCDScreen</name>
    <message>
        <source>Value must be between 1 and 255.</source>
        <translation>Значение должно быть от 1 до 255.</translation>
    </message>
</context>
<context>
    <name>TOptions</name>
    <message>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Размер шаров</source>
        <translation>Размер шаров</translation>
    </message>
    <message>
        <source>Средние шары</source>
        <translation>Средние шары</translation>
    </message>
    <message>
        <source>Большие шары</source>
        <translation>Большие шары</translation>
    </message>
    <message>
        <source>Маленькие шары</source>
        <translation>Маленькие шары</translation>
    </message>
    <message>
        <source>Размер осы</source>
        <translation>Размер осы</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Средняя</translation>
    </message>
    <message>
        <source>Большая</source>
        <translation>Большая</translation>
    </message>
    <message>
        <source>Маленькая</source>
        <translation>Маленькая</translation>
    </message>
    <message>
        <source>Лопнуть шары</source>
        <translation>Как лопать шары</translation>
    </message>
    <message>
        <source>Движением мыши</source>
        <translation>Движением мыши</translation>
    </message>
    <message>
        <source>Щелчком левой клавишей</source>
        <translation>Щелчком левой кнопки</translation>
    </message>
    <message>
        <source>Щелчком правой клавишей</source>
        <translation>Щелчком правой кнопки</translation>
    </message>
    <message>
        <source>Скорость движения шаров</source>
        <translation>Скорость полёта шаров</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Мин</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Макс</translation>
    </message>
    <message>
        <source>Интервал между вылетами шаров</source>
        <translation>Интервал между вылетами шаров</translation>
    </message>
    <message>
        <source>Показывать приз после сбитых шаров</source>
        <translation>Приз после стольких сбитых шаров:</translation>
    </message>
    <message>
        <source>Воспризводить звук лопнувшего шара</source>
        <translation>Звук лопнувшего шара</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Сохранить настройки</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>TPlay</name>
    <message>
        <source>ВЫЛЕТЕЛО - </source>
        <translation>ВЫЛЕТЕЛО: </translation>
    </message>
    <message>
        <source>СБИТО - </source>
        <translation>СБИТО: </translation>
    </message>
    <message>
        <source>EXIT - press key ESCAPE</source>
        <translation>Выход — клавиша Esc</translation>
    </message>
    <message>
        <source>Good night, little wasp</source>
        <translation>Спокойной ночи, маленькая оса</translation>
    </message>
    <message>
        <source>Keep holding Esc to leave</source>
        <translation>Держите Esc, чтобы выйти</translation>
    </message>
    <message>
        <source>EXIT - hold key ESCAPE for 3 seconds</source>
        <translation>Выход — держите Esc 3 секунды</translation>
    </message>
</context>
<context>
    <name>TPngImageCollectionItem</name>
    <message>
        <source>Cannot assign a %1 to a %2</source>
        <translation>Нельзя присвоить %1 объекту %2</translation>
    </message>
</context>
<context>
    <name>TSTART</name>
    <message>
        <source>Play</source>
        <translation>Играть</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>A happy balloon game for little ones: just move the mouse!</source>
        <translation>Весёлая игра с шариками для малышей: просто води мышкой!</translation>
    </message>
    <message>
        <source>Fly, little wasp, and POP!</source>
        <translation>Лети, оса, и лопай!</translation>
    </message>
    <message>
        <source>Steer a friendly wasp with the mouse and pop the rising balloons.</source>
        <translation>Веди мышкой добрую осу и лопай взлетающие шарики.</translation>
    </message>
    <message>
        <source>Pick big, medium or small balloons and choose how fast they fly.</source>
        <translation>Шарики бывают большие, средние и маленькие, быстрые и медленные.</translation>
    </message>
    <message>
        <source>Pop them with a touch or with a click, whatever suits small hands.</source>
        <translation>Лопать можно касанием или щелчком, как удобнее малышу.</translation>
    </message>
    <message>
        <source>Grown-ups can set up a prize with a fanfare in the Options.</source>
        <translation>Приз с фанфарами взрослые настроят в «Настройках».</translation>
    </message>
    <message>
        <source>Time for a rest!</source>
        <translation>Пора отдохнуть!</translation>
    </message>
    <message>
        <source>A grown-up must close the game and start it again.</source>
        <translation>Пусть взрослый закроет игру и запустит снова.</translation>
    </message>
    <message>
        <source>Child lock on</source>
        <translation>Детский замок включён</translation>
    </message>
    <message>
        <source>Child lock on, but this desktop does not let it hold</source>
        <translation>Детский замок включён, но этот рабочий стол не даёт ему действовать</translation>
    </message>
    <message>
        <source>Play time left: %1 min</source>
        <translation>Осталось играть: %1 мин</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Лёгкая игра</translation>
    </message>
</context>
<context>
    <name>zephyra</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>«%1» — не целое число</translation>
    </message>
    <message>
        <source>Cannot decode picture &apos;%1&apos;: %2</source>
        <translation>Картинка «%1» повреждена: %2</translation>
    </message>
    <message>
        <source>Cannot find picture &apos;%1&apos;</source>
        <translation>Картинка «%1» не найдена</translation>
    </message>
    <message>
        <source>A balloon-popping game for young children.</source>
        <translation>Игра для малышей: лопай воздушные шарики.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Лёгкая игра</translation>
    </message>
    <message>
        <source>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</source>
        <translation>Лёгкая игра: любая клавиша, кроме Esc, любая кнопка мыши, касание или кнопка геймпада посылает осу к ближайшему шарику, и она его лопает.</translation>
    </message>
    <message>
        <source>Play with child lock</source>
        <translation>Играть с детским замком</translation>
    </message>
    <message>
        <source>Play for %1 minutes</source>
        <translation>Играть %1 минут</translation>
    </message>
    <message>
        <source>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</source>
        <translation>Детский замок: из раунда можно выйти, только удерживая Esc %1 секунды; поле нельзя закрыть, свернуть или заслонить.</translation>
    </message>
    <message>
        <source>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</source>
        <translation>Время игры в минутах, от %1 до %2. Потом шарики улетают, и игру завершает картинка «Спокойной ночи»; с детским замком кнопка «Играть» не работает до следующего запуска игры.</translation>
    </message>
    <message>
        <source>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</source>
        <translation>--minutes принимает целое число от %1 до %2, а не «%3».</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Лишний аргумент «%1».</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Настройки для взрослых</translation>
    </message>
    <message>
        <source>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</source>
        <translation>В её меню на рабочем столе есть также «%1», «%2», «%3» и «%4».</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true или false</translation>
    </message>
    <message>
        <source>%1 to %2, or %3</source>
        <translation>от %1 до %2 или %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>от %1 до %2</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>одно из %1</translation>
    </message>
    <message>
        <source>empty or one of %1</source>
        <translation>пусто или одно из %1</translation>
    </message>
    <message>
        <source>a line that is no setting (line %1)</source>
        <translation>строку, которая не является настройкой (строка %1)</translation>
    </message>
    <message>
        <source>unknown section [%1] (line %2)</source>
        <translation>неизвестный раздел [%1] (строка %2)</translation>
    </message>
    <message>
        <source>%1 before any section (line %2)</source>
        <translation>%1 до начала разделов (строка %2)</translation>
    </message>
    <message>
        <source>%1=%2 (line %3: not %4)</source>
        <translation>%1=%2 (строка %3: не %4)</translation>
    </message>
    <message>
        <source>unknown key %1 (line %2)</source>
        <translation>неизвестный ключ %1 (строка %2)</translation>
    </message>
    <message>
        <source>the whole file (larger than %1 KB)</source>
        <translation>весь файл (больше %1 КБ)</translation>
    </message>
    <message>
        <source>the whole file (it cannot be read: %1)</source>
        <translation>весь файл (его нельзя прочитать: %1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 и ещё %2</translation>
    </message>
    <message>
        <source>%1: left out %2</source>
        <translation>%1: пропущено: %2</translation>
    </message>
    <message>
        <source>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</source>
        <translation>Для сеанса ZEPHYRA на экране входа, внутри cage: защита от детей включена, веб-страница не открывается, «Выход» завершает сеанс.</translation>
    </message>
    <message>
        <source>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</source>
        <translation>ZEPHYRA неожиданно закрылась и не смогла запуститься снова. Сеанс завершается: на экране входа взрослый может выбрать его снова или другой.</translation>
    </message>
    <message>
        <source>The web page does not open here. A grown-up can visit %1 on another computer.</source>
        <translation>Веб-страница здесь не открывается. Взрослый может открыть %1 на другом компьютере.</translation>
    </message>
    <message>
        <source>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</source>
        <translation>Открывает настройки для взрослых: детский замок, время игры, лёгкую игру, язык, громкость и запоминание настроек, сохраняемые для каждого запуска в %1.</translation>
    </message>
    <message>
        <source>These options hold until the game is closed, but they cannot be kept in %1: %2</source>
        <translation>Эти настройки действуют до закрытия игры, но их нельзя сохранить в %1: %2</translation>
    </message>
    <message>
        <source>the whole file (it is a folder)</source>
        <translation>весь файл (это папка)</translation>
    </message>
    <message>
        <source>the whole file (it is no regular file)</source>
        <translation>весь файл (это не обычный файл)</translation>
    </message>
    <message>
        <source>the whole file (a link that leads nowhere)</source>
        <translation>весь файл (ссылка, которая никуда не ведёт)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>диск заполнен</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>квота на диске исчерпана</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>диск только для чтения</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>доступ запрещён</translation>
    </message>
    <message>
        <source>the disk could not be read or written</source>
        <translation>диск не удалось прочитать или записать</translation>
    </message>
    <message>
        <source>the file %1 is read-only</source>
        <translation>файл %1 только для чтения</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation>в папку %1 нельзя записать</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder</source>
        <translation>%1 — файл, а не папка</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 — папка, а не файл</translation>
    </message>
    <message>
        <source>it is a link to %1, which is no regular file</source>
        <translation>это ссылка на %1, а это не обычный файл</translation>
    </message>
    <message>
        <source>%1 is a link that leads nowhere</source>
        <translation>%1 — ссылка, которая никуда не ведёт</translation>
    </message>
    <message>
        <source>it keeps its language until it is closed</source>
        <translation>она сохраняет свой язык, пока её не закроют</translation>
    </message>
    <message>
        <source>The game already running came forward, but %1.</source>
        <translation>Уже запущенная игра вышла на передний план, но %1.</translation>
    </message>
    <message>
        <source>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</source>
        <translation>детский замок не может действовать на этом рабочем столе: без XWayland ни одна программа не может удерживать клавиатуру и мышь</translation>
    </message>
    <message>
        <source>it is an earlier version that cannot take these choices: close it and start the game again</source>
        <translation>это более ранняя версия, она не может принять этот выбор: закройте её и запустите игру снова</translation>
    </message>
</context>
</TS>
