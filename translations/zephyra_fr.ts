<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Utilisation : %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Options :</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[options]</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Affiche l’aide sur les options de la ligne de commande.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Affiche l’aide, options propres à Qt comprises.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Affiche la version.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Option inconnue « %1 ».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Options inconnues : %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Valeur manquante après « %1 ».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Valeur inattendue après « %1 ».</translation>
    </message>
</context>
<context>
    <name>TGrownUps</name>
    <message>
        <source>Child lock: only Esc held for 3 seconds leaves a round</source>
        <translation>Sécurité enfant : seul Échap tenu 3 secondes quitte une partie</translation>
    </message>
    <message>
        <source>Easy play: any key, click, tap or gamepad button pops a balloon</source>
        <translation>Jeu facile : toute touche, clic, appui du doigt ou bouton de manette éclate un ballon</translation>
    </message>
    <message>
        <source>Play time in minutes</source>
        <translation>Temps de jeu en minutes</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Remember the options between starts</source>
        <translation>Garder les réglages d’un lancement à l’autre</translation>
    </message>
    <message>
        <source>No limit</source>
        <translation>Sans limite</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Réglages pour les grands</translation>
    </message>
    <message>
        <source>For every start of the game</source>
        <translation>Pour chaque lancement du jeu</translation>
    </message>
    <message>
        <source>A game that is running keeps its settings until it is closed.</source>
        <translation>Un jeu déjà lancé garde ses réglages jusqu’à sa fermeture.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Play with these settings</source>
        <translation>Jouer avec ces réglages</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>La langue du bureau</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Écouter</translation>
    </message>
    <message>
        <source>Quiet</source>
        <translation>Doux</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Fort</translation>
    </message>
    <message>
        <source>Left out when this window opened: %1</source>
        <translation>Laissé de côté à l’ouverture de cette fenêtre : %1</translation>
    </message>
    <message>
        <source>Save keeps that file as %1 and writes a new one.</source>
        <translation>Enregistrer garde ce fichier sous %1 et en écrit un nouveau.</translation>
    </message>
    <message>
        <source>These settings cannot be kept in %1: %2. They can still be used for this start.</source>
        <translation>Ces réglages ne peuvent pas être gardés dans %1 : %2. Ils peuvent tout de même servir pour ce lancement.</translation>
    </message>
</context>
<context>
    <name>TLCDScreen</name>
    <message>
        <source>Value must be between 1 and 255.</source>
        <translation>La valeur doit être comprise entre 1 et 255.</translation>
    </message>
</context>
<context>
    <name>TOptions</name>
    <message>
        <source>Options</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Размер шаров</source>
        <translation>Taille des ballons</translation>
    </message>
    <message>
        <source>Средние шары</source>
        <translation>Ballons moyens</translation>
    </message>
    <message>
        <source>Большие шары</source>
        <translation>Grands ballons</translation>
    </message>
    <message>
        <source>Маленькие шары</source>
        <translation>Petits ballons</translation>
    </message>
    <message>
        <source>Размер осы</source>
        <translation>Taille de la guêpe</translation>
    </message>
    <message>
        <source>Средняя</source>
        <translation>Moyenne</translation>
    </message>
    <message>
        <source>Большая</source>
        <translation>Grande</translation>
    </message>
    <message>
        <source>Маленькая</source>
        <translation>Petite</translation>
    </message>
    <message>
        <source>Лопнуть шары</source>
        <translation>Pour éclater les ballons</translation>
    </message>
    <message>
        <source>Движением мыши</source>
        <translation>En bougeant la souris</translation>
    </message>
    <message>
        <source>Щелчком левой клавишей</source>
        <translation>D&apos;un clic gauche</translation>
    </message>
    <message>
        <source>Щелчком правой клавишей</source>
        <translation>D&apos;un clic droit</translation>
    </message>
    <message>
        <source>Скорость движения шаров</source>
        <translation>Vitesse des ballons</translation>
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
        <translation>Temps entre deux ballons</translation>
    </message>
    <message>
        <source>Показывать приз после сбитых шаров</source>
        <translation>Cadeau après ce nombre de ballons :</translation>
    </message>
    <message>
        <source>Воспризводить звук лопнувшего шара</source>
        <translation>Son quand un ballon éclate</translation>
    </message>
    <message>
        <source>Сохранить настройки</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>TPlay</name>
    <message>
        <source>ВЫЛЕТЕЛО - </source>
        <translation>BALLONS : </translation>
    </message>
    <message>
        <source>СБИТО - </source>
        <translation>BOUM : </translation>
    </message>
    <message>
        <source>EXIT - press key ESCAPE</source>
        <translation>Pour quitter, appuie sur Échap</translation>
    </message>
    <message>
        <source>Good night, little wasp</source>
        <translation>Bonne nuit, petite guêpe</translation>
    </message>
    <message>
        <source>Keep holding Esc to leave</source>
        <translation>Garde Échap appuyée pour quitter</translation>
    </message>
    <message>
        <source>EXIT - hold key ESCAPE for 3 seconds</source>
        <translation>Pour quitter, garde Échap appuyée 3 secondes</translation>
    </message>
</context>
<context>
    <name>TPngImageCollectionItem</name>
    <message>
        <source>Cannot assign a %1 to a %2</source>
        <translation>Impossible d&apos;affecter un %1 à un %2</translation>
    </message>
</context>
<context>
    <name>TSTART</name>
    <message>
        <source>Play</source>
        <translation>Jouer</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>A happy balloon game for little ones: just move the mouse!</source>
        <translation>Un joyeux jeu de ballons pour les petits : il suffit de bouger la souris !</translation>
    </message>
    <message>
        <source>Fly, little wasp, and POP!</source>
        <translation>Vole, petite guêpe, et BOUM !</translation>
    </message>
    <message>
        <source>Steer a friendly wasp with the mouse and pop the rising balloons.</source>
        <translation>Guide la gentille guêpe avec la souris et éclate les ballons.</translation>
    </message>
    <message>
        <source>Pick big, medium or small balloons and choose how fast they fly.</source>
        <translation>Grands, moyens ou petits ballons, lents ou rapides, au choix.</translation>
    </message>
    <message>
        <source>Pop them with a touch or with a click, whatever suits small hands.</source>
        <translation>On les éclate d&apos;une touche ou d&apos;un clic, selon les petites mains.</translation>
    </message>
    <message>
        <source>Grown-ups can set up a prize with a fanfare in the Options.</source>
        <translation>Les grands règlent une récompense en fanfare dans « Réglages ».</translation>
    </message>
    <message>
        <source>Time for a rest!</source>
        <translation>C’est l’heure du repos !</translation>
    </message>
    <message>
        <source>A grown-up must close the game and start it again.</source>
        <translation>Un adulte doit fermer le jeu et le relancer.</translation>
    </message>
    <message>
        <source>Child lock on</source>
        <translation>Verrou enfant activé</translation>
    </message>
    <message>
        <source>Child lock on, but this desktop does not let it hold</source>
        <translation>Verrou enfant activé, mais ce bureau ne le laisse pas tenir</translation>
    </message>
    <message>
        <source>Play time left: %1 min</source>
        <translation>Temps de jeu restant : %1 min</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Jeu facile</translation>
    </message>
</context>
<context>
    <name>zephyra</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>« %1 » n&apos;est pas un nombre entier</translation>
    </message>
    <message>
        <source>Cannot decode picture &apos;%1&apos;: %2</source>
        <translation>L&apos;image « %1 » est endommagée : %2</translation>
    </message>
    <message>
        <source>Cannot find picture &apos;%1&apos;</source>
        <translation>L&apos;image « %1 » est introuvable</translation>
    </message>
    <message>
        <source>A balloon-popping game for young children.</source>
        <translation>Un jeu de ballons à éclater pour les tout-petits.</translation>
    </message>
    <message>
        <source>Easy play</source>
        <translation>Jeu facile</translation>
    </message>
    <message>
        <source>Easy play: any key but Esc, any mouse button, a tap or a gamepad button sends the wasp to the nearest balloon, and it pops it.</source>
        <translation>Jeu facile : toute touche sauf Échap, tout bouton de la souris, un appui du doigt ou un bouton de manette envoie la guêpe vers le ballon le plus proche, et elle l’éclate.</translation>
    </message>
    <message>
        <source>Play with child lock</source>
        <translation>Jouer avec la sécurité enfant</translation>
    </message>
    <message>
        <source>Play for %1 minutes</source>
        <translation>Jouer %1 minutes</translation>
    </message>
    <message>
        <source>Child lock: during a round only Esc held for %1 seconds leaves; the field cannot be closed, minimised or covered.</source>
        <translation>Sécurité enfant : pendant une partie, seule la touche Échap tenue %1 secondes permet de sortir ; le terrain ne peut être ni fermé, ni réduit, ni recouvert.</translation>
    </message>
    <message>
        <source>Play time in minutes, %1 to %2. Then the balloons float away and a goodnight picture ends play; with the child lock, Play stays closed until the game starts again.</source>
        <translation>Temps de jeu en minutes, de %1 à %2. Ensuite les ballons s’envolent et une image de bonne nuit termine la partie ; avec la sécurité enfant, « Jouer » reste fermé jusqu’au prochain lancement du jeu.</translation>
    </message>
    <message>
        <source>--minutes takes a whole number from %1 to %2, not &apos;%3&apos;.</source>
        <translation>--minutes attend un nombre entier de %1 à %2, pas « %3 ».</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argument inattendu « %1 ».</translation>
    </message>
    <message>
        <source>Settings for grown-ups</source>
        <translation>Réglages pour les grands</translation>
    </message>
    <message>
        <source>Its menu on the desktop also offers &quot;%1&quot;, &quot;%2&quot;, &quot;%3&quot; and &quot;%4&quot;.</source>
        <translation>Son menu sur le bureau propose aussi « %1 », « %2 », « %3 » et « %4 ».</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>true ou false</translation>
    </message>
    <message>
        <source>%1 to %2, or %3</source>
        <translation>de %1 à %2, ou %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>de %1 à %2</translation>
    </message>
    <message>
        <source>one of %1</source>
        <translation>l’un de %1</translation>
    </message>
    <message>
        <source>empty or one of %1</source>
        <translation>vide ou l’un de %1</translation>
    </message>
    <message>
        <source>a line that is no setting (line %1)</source>
        <translation>une ligne qui n’est pas un réglage (ligne %1)</translation>
    </message>
    <message>
        <source>unknown section [%1] (line %2)</source>
        <translation>la section inconnue [%1] (ligne %2)</translation>
    </message>
    <message>
        <source>%1 before any section (line %2)</source>
        <translation>%1 avant toute section (ligne %2)</translation>
    </message>
    <message>
        <source>%1=%2 (line %3: not %4)</source>
        <translation>%1=%2 (ligne %3 : pas %4)</translation>
    </message>
    <message>
        <source>unknown key %1 (line %2)</source>
        <translation>la clé inconnue %1 (ligne %2)</translation>
    </message>
    <message>
        <source>the whole file (larger than %1 KB)</source>
        <translation>tout le fichier (plus de %1 Ko)</translation>
    </message>
    <message>
        <source>the whole file (it cannot be read: %1)</source>
        <translation>tout le fichier (illisible : %1)</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 et %2 de plus</translation>
    </message>
    <message>
        <source>%1: left out %2</source>
        <translation>%1 : laissé de côté : %2</translation>
    </message>
    <message>
        <source>For the login screen&apos;s ZEPHYRA session, inside cage: the child lock on, no web page opened, and Exit ends the session.</source>
        <translation>Pour la session ZEPHYRA de l&apos;écran de connexion, dans cage : verrou enfant activé, aucune page web, et Quitter termine la session.</translation>
    </message>
    <message>
        <source>ZEPHYRA stopped unexpectedly and could not be started again. This session ends now: at the login screen a grown-up can choose it again, or another one.</source>
        <translation>ZEPHYRA s&apos;est arrêté de façon inattendue et n&apos;a pas pu redémarrer. Cette session se termine : sur l&apos;écran de connexion, un adulte peut la choisir de nouveau, ou une autre.</translation>
    </message>
    <message>
        <source>The web page does not open here. A grown-up can visit %1 on another computer.</source>
        <translation>La page web ne s&apos;ouvre pas ici. Un adulte peut visiter %1 sur un autre ordinateur.</translation>
    </message>
    <message>
        <source>Opens the settings for grown-ups: the child lock, the play time, easy play, the language, the volume and whether the options are remembered, kept for every start in %1.</source>
        <translation>Ouvre les réglages pour les grands : sécurité enfant, temps de jeu, jeu facile, langue, volume et garde des réglages, gardés pour chaque lancement dans %1.</translation>
    </message>
    <message>
        <source>These options hold until the game is closed, but they cannot be kept in %1: %2</source>
        <translation>Ces réglages valent jusqu’à la fermeture du jeu, mais ne peuvent pas être gardés dans %1 : %2</translation>
    </message>
    <message>
        <source>the whole file (it is a folder)</source>
        <translation>tout le fichier (c’est un dossier)</translation>
    </message>
    <message>
        <source>the whole file (it is no regular file)</source>
        <translation>tout le fichier (ce n’est pas un fichier ordinaire)</translation>
    </message>
    <message>
        <source>the whole file (a link that leads nowhere)</source>
        <translation>tout le fichier (un lien qui ne mène nulle part)</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>le disque est plein</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>le quota disque est épuisé</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>le disque est en lecture seule</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>accès refusé</translation>
    </message>
    <message>
        <source>the disk could not be read or written</source>
        <translation>le disque n’a pas pu être lu ou écrit</translation>
    </message>
    <message>
        <source>the file %1 is read-only</source>
        <translation>le fichier %1 est en lecture seule</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written</source>
        <translation>impossible d’écrire dans le dossier %1</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder</source>
        <translation>%1 est un fichier, pas un dossier</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 est un dossier, pas un fichier</translation>
    </message>
    <message>
        <source>it is a link to %1, which is no regular file</source>
        <translation>c’est un lien vers %1, qui n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>%1 is a link that leads nowhere</source>
        <translation>%1 est un lien qui ne mène nulle part</translation>
    </message>
    <message>
        <source>it keeps its language until it is closed</source>
        <translation>il garde sa langue jusqu’à ce qu’on le ferme</translation>
    </message>
    <message>
        <source>The game already running came forward, but %1.</source>
        <translation>Le jeu déjà ouvert est passé au premier plan, mais %1.</translation>
    </message>
    <message>
        <source>the child lock cannot hold on this desktop: without XWayland, no program may hold the keyboard and the mouse</source>
        <translation>le verrou enfant ne peut pas tenir sur ce bureau : sans XWayland, aucun programme ne peut garder le clavier et la souris</translation>
    </message>
    <message>
        <source>it is an earlier version that cannot take these choices: close it and start the game again</source>
        <translation>c’est une version antérieure qui ne peut pas prendre ces choix : fermez-le et relancez le jeu</translation>
    </message>
</context>
</TS>
