# The newcomer's new English texts, per language: captions, and edits of the help paragraphs.
CAPTIONS = {
 'WINDOW': dict(de='FENSTER', fr='FENÊTRE', es='VENTANA', it='FINESTRA', pt_BR='JANELA', nl='VENSTER', pl='OKNO',
                ru='ОКНО', uk='ВІКНО', cs='OKNO', sv='FÖNSTER', tr='PENCERE'),
 'FULL SCREEN': dict(de='VOLLBILD', fr='PLEIN ÉCRAN', es='PANTALLA COMPLETA', it='SCHERMO INTERO', pt_BR='TELA CHEIA',
                     nl='VOLLEDIG SCHERM', pl='PEŁNY EKRAN', ru='ВЕСЬ ЭКРАН', uk='ПОВНИЙ ЕКРАН', cs='CELÁ OBRAZOVKA',
                     sv='HELSKÄRM', tr='TAM EKRAN'),
 'P or Esc, or a click here, to go on': dict(
     de='Weiter mit P, Esc oder einem Klick hier', fr='P, Échap ou un clic ici pour reprendre',
     es='P, Esc o un clic aquí para seguir', it='P, Esc o un clic qui per continuare',
     pt_BR='P, Esc ou um clique aqui para continuar', nl='P, Esc of een klik hier om verder te gaan',
     pl='P, Esc lub kliknięcie tutaj, by grać dalej', ru='P, Esc или щелчок здесь — продолжить',
     uk='P, Esc або клацання тут — продовжити', cs='P, Esc nebo klik sem pro pokračování',
     sv='P, Esc eller ett klick här för att fortsätta', tr='Devam için P, Esc ya da buraya tıkla'),
}
H104 = dict(
 de='<strong>Hilfe</strong> öffnet diese Seite neben dem Spiel, das weiterläuft; ein Spiel auf Zeit wartet angehalten.',
 fr='<strong>Aide</strong> ouvre cette page à côté du jeu, qui continue\u00a0; une partie chrono attend, en pause.',
 es='<strong>Ayuda</strong> abre esta página junto al juego, que sigue; una partida crono espera en pausa.',
 it='<strong>Aiuto</strong> apre questa pagina accanto al gioco, che va avanti; una partita a tempo aspetta in pausa.',
 pt_BR='<strong>Ajuda</strong> abre esta página ao lado do jogo, que continua; um jogo no modo tempo espera, pausado.',
 nl='<strong>Hulp</strong> opent deze pagina naast het spel, dat doorgaat; een spel op tijd wacht, gepauzeerd.',
 pl='<strong>Pomoc</strong> otwiera tę stronę obok gry, która toczy się dalej; gra na czas czeka wstrzymana.',
 ru='<strong>Справка</strong> открывает эту страницу рядом с игрой, которая продолжается; игра на время ждёт на паузе.',
 uk='<strong>Довідка</strong> відкриває цю сторінку поряд із грою, яка триває; гра на час чекає на паузі.',
 cs='<strong>Nápověda</strong> otevře tuto stránku vedle hry, která běží dál; hra na čas čeká pozastavená.',
 sv='<strong>Hjälp</strong> öppnar den här sidan bredvid spelet, som fortsätter; ett spel på tid väntar pausat.',
 tr='<strong>Yardım</strong> bu sayfayı oyunun yanında açar, oyun sürer; zamanlı bir oyun duraklatılmış olarak bekler.')
# (old clause, new clause, sentence appended) for the pause paragraph
H62 = dict(
 de=('drücke eine der beiden Tasten noch einmal, um weiterzuspielen.', 'drücke eine der beiden Tasten noch einmal oder klicke auf das PAUSE-Schild, um weiterzuspielen.', ' Bleibt nur noch das letzte Fünftel der Zeit, wird der Balken rot.'),
 fr=('appuyez de nouveau sur l’une des deux touches pour reprendre.', 'appuyez de nouveau sur l’une des deux touches, ou cliquez sur le panneau PAUSE, pour reprendre.', ' Quand il ne reste que le dernier cinquième du temps, la barre devient rouge.'),
 es=('pulsa cualquiera de las dos otra vez para seguir.', 'pulsa cualquiera de las dos otra vez, o haz clic en el cartel PAUSA, para seguir.', ' Cuando solo queda la última quinta parte del tiempo, la barra se vuelve roja.'),
 it=('premi di nuovo uno dei due tasti per continuare.', 'premi di nuovo uno dei due tasti, o clicca sul riquadro PAUSA, per continuare.', " Quando resta solo l'ultimo quinto del tempo, la barra diventa rossa."),
 pt_BR=('aperte qualquer uma das duas de novo para continuar.', 'aperte qualquer uma das duas de novo, ou clique na placa PAUSA, para continuar.', ' Quando só resta o último quinto do tempo, a barra fica vermelha.'),
 nl=('druk nog eens op een van beide toetsen om verder te gaan.', 'druk nog eens op een van beide toetsen, of klik op het bordje PAUZE, om verder te gaan.', ' Als alleen het laatste vijfde van de tijd over is, wordt de balk rood.'),
 pl=('naciśnij któryś z nich jeszcze raz, by grać dalej.', 'naciśnij któryś z nich jeszcze raz albo kliknij tabliczkę PAUZA, by grać dalej.', ' Gdy zostaje ostatnia piąta część czasu, pasek robi się czerwony.'),
 ru=('нажмите любую из них ещё раз, чтобы продолжить.', 'нажмите любую из них ещё раз или щёлкните по табличке ПАУЗА, чтобы продолжить.', ' Когда остаётся последняя пятая часть времени, полоса краснеет.'),
 uk=('натисніть будь-яку з них ще раз, щоб продовжити.', 'натисніть будь-яку з них ще раз або клацніть табличку ПАУЗА, щоб продовжити.', ' Коли лишається остання п’ята частина часу, смуга червоніє.'),
 cs=('stiskni kteroukoli z nich znovu a hraj dál.', 'stiskni kteroukoli z nich znovu nebo klikni na tabulku PAUZA a hraj dál.', ' Když zbývá poslední pětina času, pruh zčervená.'),
 sv=('tryck på någon av dem igen för att fortsätta.', 'tryck på någon av dem igen, eller klicka på PAUS-skylten, för att fortsätta.', ' När bara sista femtedelen av tiden är kvar blir mätaren röd.'),
 tr=('devam etmek için ikisinden birine yeniden bas.', 'devam etmek için ikisinden birine yeniden bas ya da MOLA levhasına tıkla.', ' Zamanın son beşte biri kaldığında çubuk kırmızıya döner.'))
H107 = dict(
 de=('Danach erscheinen die Listen;', 'Danach erscheinen die Listen, dein Eintrag in Gold und deine Endpunktzahl im Punktefeld;'),
 fr=('Ensuite les tableaux s’affichent\u00a0;', 'Ensuite les tableaux s’affichent, avec votre entrée en or et votre score final dans le compteur\u00a0;'),
 es=('Después se muestran las tablas;', 'Después se muestran las tablas, con tu entrada en dorado y tu puntuación final en el marcador;'),
 it=('Poi vengono mostrate le classifiche;', 'Poi vengono mostrate le classifiche, con la tua voce in oro e il punteggio finale nel riquadro dei punti;'),
 pt_BR=('Depois as tabelas aparecem;', 'Depois as tabelas aparecem, com sua entrada em dourado e sua pontuação final no placar;'),
 nl=('Daarna worden de lijsten getoond;', 'Daarna worden de lijsten getoond, met je vermelding in goud en je eindscore in het scorevak;'),
 pl=('Potem pokazują się tabele;', 'Potem pokazują się tabele, z twoim wpisem na złoto i wynikiem końcowym w polu wyniku;'),
 ru=('Затем показываются таблицы;', 'Затем показываются таблицы, где ваша запись выделена золотом, а итоговый счёт стоит в окошке очков;'),
 uk=('Потім показуються таблиці;', 'Потім показуються таблиці, де ваш запис виділено золотом, а підсумковий рахунок стоїть у віконці очок;'),
 cs=('Pak se ukážou tabulky;', 'Pak se ukážou tabulky, tvůj zápis zlatě a tvé konečné skóre v okénku skóre;'),
 sv=('Sedan visas listorna;', 'Sedan visas listorna, med din rad i guld och din slutpoäng i poängrutan;'),
 tr=('Ardından tablolar gösterilir;', 'Ardından tablolar gösterilir; kaydın altın renginde, son puanın puan kutusunda görünür;'))
