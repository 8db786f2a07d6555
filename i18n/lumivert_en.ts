<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AlbumGenerator</name>
    <message>
        <location filename="../app/widgets/frmmain_step3.cpp" line="+88"/>
        <source>･Lumivert作成エラー</source>
        <translation>The album could not be created</translation>
    </message>
    <message>
        <location filename="../generate/widgets/frmcreatealbum.cpp" line="+31"/>
        <source>Step1.目次用画像生成  しばらくお待ちください。</source>
        <translation>Step 1: making the index pictures. Please wait. </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Step2.ページ用画像生成  しばらくお待ちください。</source>
        <translation>Step 2: making the page pictures. Please wait. </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Step3.HTML生成  しばらくお待ちください。</source>
        <translation>Step 3: writing the HTML pages. Please wait. </translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>ページ幅（ピクセル）</source>
        <translation>page width in pixels</translation>
    </message>
    <message>
        <source>JPEGの画質</source>
        <translation>JPEG quality</translation>
    </message>
    <message>
        <source>ページと表紙の写真をプログレッシブ形式のJPEGにする</source>
        <translation>progressive JPEG page and cover images</translation>
    </message>
    <message>
        <source>ナビゲーションバーを日本語表示にする</source>
        <translation>Japanese navigation bar</translation>
    </message>
    <message>
        <source>目次に載せる項目</source>
        <translation>what the index shows</translation>
    </message>
    <message>
        <source>ページに載せる項目</source>
        <translation>what the pages show</translation>
    </message>
    <message>
        <source>項目名ではありません「%1」（%2，または all，none）</source>
        <translation>unknown detail &quot;%1&quot; (one of %2, or all, none)</translation>
    </message>
    <message>
        <source>アルバムのタイトル（%1文字まで）</source>
        <translation>album title, at most %1 characters</translation>
    </message>
    <message>
        <source>テキスト</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>16色の名前のひとつ</source>
        <translation>one of the sixteen colour names</translation>
    </message>
    <message>
        <source>色</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>スタイルシート：プログラムの横にあるものの名前か，パス</source>
        <translation>style sheet template: a name beside the program or a path</translation>
    </message>
    <message>
        <source>名前順で最初のもの</source>
        <translation>the first in name order</translation>
    </message>
    <message>
        <source>背景画像：パスか，背景画像フォルダの中の名前</source>
        <translation>background image, a path or a name in 背景画像</translation>
    </message>
    <message>
        <source>表紙にする写真の番号</source>
        <translation>cover photo number</translation>
    </message>
    <message>
        <source>表紙の特殊効果</source>
        <translation>cover effect</translation>
    </message>
    <message>
        <source>自動ページめくり（1～99秒）</source>
        <translation>turn the pages automatically (1 to 99 seconds)</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>SECONDS</translation>
    </message>
    <message>
        <source>写真はそのままにして，ページとスタイルだけを書き換える</source>
        <translation>keep the images, rewrite the pages and style</translation>
    </message>
    <message>
        <source>写真一覧の読み込み（またはファイルからの読み出し）と保存だけをする</source>
        <translation>only import (or load) and save the list file</translation>
    </message>
    <message>
        <source>写真を読み込み直す。既存の一覧ファイル（順序，回転，キャプション）はそのまま残す</source>
        <translation>read the photos afresh; an existing list file (order, rotations, captions) is left as it is</translation>
    </message>
    <message>
        <source>--reimport と一緒に：新しい一覧を既存の一覧ファイルの上に書く</source>
        <translation>with --reimport: write the new list over it</translation>
    </message>
    <message>
        <source>エラーと問題の報告のほかは何も表示しない</source>
        <translation>print nothing but errors and problem reports</translation>
    </message>
    <message>
        <source>この説明を表示して終わる</source>
        <translation>print this help and exit</translation>
    </message>
    <message>
        <source>バージョンを表示して終わる</source>
        <translation>print the version and exit</translation>
    </message>
    <message>
        <source>一覧</source>
        <translation>LIST</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>FOLDER</translation>
    </message>
    <message>
        <source>写真のあるフォルダ</source>
        <translation>the folder of the photos</translation>
    </message>
    <message>
        <source>2: 高解像度画面用に2倍の大きさの画像も作り，srcsetで示す。1: 作らない</source>
        <translation>2: second images at twice the size for high-density screens, offered through srcset; 1: none</translation>
    </message>
    <message>
        <source>--density: 1 か 2</source>
        <translation>--density: 1 or 2</translation>
    </message>
    <message>
        <source>--title: %1文字まで</source>
        <translation>--title: at most %1 characters</translation>
    </message>
    <message>
        <source>--%1: %2 のいずれか</source>
        <translation>--%1: one of %2</translation>
    </message>
    <message>
        <source>--colour: 色の名前ではありません「%1」（%2）</source>
        <translation>--colour: unknown colour &quot;%1&quot; (one of %2)</translation>
    </message>
    <message>
        <source>--theme: スタイルシート「%1」がありません</source>
        <translation>--theme: no style sheet &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--background: 画像「%1」がありません</source>
        <translation>--background: no image &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--cover: 写真の番号（0～%1）</source>
        <translation>--cover: a photo number (0 to %1)</translation>
    </message>
    <message>
        <source>--effect: 0～%1</source>
        <translation>--effect: 0 to %1</translation>
    </message>
    <message>
        <source>--slideshow: 1～99秒</source>
        <translation>--slideshow: 1 to 99 seconds</translation>
    </message>
    <message>
        <source>フォルダの写真のWebアルバムを フォルダ/Lumivert に作ります。
オプションの初期値は，そのフォルダで最後に作ったアルバムのもの（フォルダ/Lumivert.opt，
ウィンドウで作ってもこのツールで作っても）で，それがなければ括弧の中の値です。
指定したオプションがそれに優先し，作ったアルバムはそのオプションを記録します。</source>
        <translation>Writes the web album of the photos in FOLDER into FOLDER/Lumivert.
Options default to those of the last album made in FOLDER (FOLDER/Lumivert.opt,
by the window or by this tool), else to the values in parentheses; the flags
given override them, and a written album remembers its options.</translation>
    </message>
    <message>
        <source>使い方: lumivert-cli フォルダ [オプション]</source>
        <translation>Usage: lumivert-cli FOLDER [options]</translation>
    </message>
    <message>
        <source>オプション:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>引数:</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>終了ステータス:
  0  アルバムを作った（--list-only では一覧を保存した）
  1  書き込めなかったページがある（一覧を保存できなかった）
  2  引数か入力の誤り（フォルダがない，写真がない，一覧ファイルが読めない）
  3  別の Lumivert がこのアルバム（フォルダ/Lumivert.lock）を待ち時間のあいだ書き込み続けた
     （待ち時間は環境変数 LUMIVERT_LOCK_WAIT の秒数，初期値は10分）
</source>
        <translation>Exit status:
  0  album written (with --list-only: the list saved)
  1  a page could not be written (or the list could not be saved)
  2  bad arguments or input (no folder, no photos, an unreadable list file)
  3  another Lumivert kept writing this album (FOLDER/Lumivert.lock) for the whole wait
     (LUMIVERT_LOCK_WAIT seconds when set, else 10 minutes)
</translation>
    </message>
    <message>
        <source> ほか%1枚</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <source>（マシン %1 のプロセス %2）</source>
        <translation> (on the machine %1, process %2)</translation>
    </message>
    <message>
        <source>（プロセス %1）</source>
        <translation> (process %1)</translation>
    </message>
    <message>
        <source>別のLumivertがこのアルバムを書き込んでいます。終わるのを待っています…</source>
        <translation>Another Lumivert is writing this album; waiting…</translation>
    </message>
    <message>
        <source>別のLumivert%1を%2秒待ちましたが，書き込みが終わらないのであきらめました。何も書き込んでいません。</source>
        <translation>gave up waiting for the other Lumivert%1 after %2 seconds; nothing was written.</translation>
    </message>
    <message>
        <source>別のマシンのロックは引き継ぎません。そこでLumivertが動いていなければ，%1 を削除してください</source>
        <translation>A lock of another machine is never taken over: when no Lumivert runs there any more, delete %1</translation>
    </message>
    <message>
        <source>ロックは %1 です</source>
        <translation>It holds %1</translation>
    </message>
    <message>
        <source>新しい写真1枚を最後に加えました: %1</source>
        <translation>1 new photo was added at the end: %1</translation>
    </message>
    <message>
        <source>新しい写真%1枚を最後に加えました: %2</source>
        <translation>%1 new photos were added at the end: %2</translation>
    </message>
    <message>
        <source>一覧の保存後に変わった写真1枚を読み込み直しました: %1</source>
        <translation>1 photo was changed since the list was saved and read afresh: %1</translation>
    </message>
    <message>
        <source>一覧の保存後に変わった写真%1枚を読み込み直しました: %2</source>
        <translation>%1 photos were changed since the list was saved and read afresh: %2</translation>
    </message>
    <message>
        <source>一覧の写真1枚がフォルダにありません（一覧には残し，アルバムではその代わりにお知らせを表示します）: %1</source>
        <translation>1 listed photo is no longer in the folder (kept in the list; the album shows a note in its place): %1</translation>
    </message>
    <message>
        <source>一覧の写真%1枚がフォルダにありません（一覧には残し，アルバムではその代わりにお知らせを表示します）: %2</source>
        <translation>%1 listed photos are no longer in the folder (kept in the list; the album shows a note in their place): %2</translation>
    </message>
    <message>
        <source>前回のスタイルシート %1 は使いません（Lumivert.opt から使うのはプログラムのスタイルシートと写真のフォルダ内のファイルだけです。--theme で指定し直せます）。最初のスタイルシートを使います</source>
        <translation>the remembered style sheet %1 is not used (only the program's own style sheets and files inside the photo folder are taken from Lumivert.opt; --theme gives it again); the first style sheet is used</translation>
    </message>
    <message>
        <source>前回の背景画像 %1 は使いません（Lumivert.opt から使うのはプログラムの画像と写真のフォルダ内のファイルだけです。--background で指定し直せます）。背景画像なしで作ります</source>
        <translation>the remembered background image %1 is not used (only the program's own images and files inside the photo folder are taken from Lumivert.opt; --background gives it again); the album has no background</translation>
    </message>
    <message>
        <source>不明なオプション %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>%1 には値が要ります</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 は値をとりません</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>写真のフォルダが指定されていません</source>
        <translation>no photo folder given</translation>
    </message>
    <message>
        <source>フォルダはひとつだけ指定できます</source>
        <translation>only one folder may be given</translation>
    </message>
    <message>
        <source>--replace-list は --reimport と一緒に指定します</source>
        <translation>--replace-list goes with --reimport</translation>
    </message>
    <message>
        <source>写真の読み込み</source>
        <translation>Reading the photos</translation>
    </message>
    <message>
        <source>目次用画像生成</source>
        <translation>Making the index pictures</translation>
    </message>
    <message>
        <source>ページ用画像生成</source>
        <translation>Making the page pictures</translation>
    </message>
    <message>
        <source>HTML生成</source>
        <translation>Writing the pages</translation>
    </message>
    <message>
        <source>%1（%2枚）</source>
        <translation>%1 (%2 photos)</translation>
    </message>
    <message>
        <source>%1 %2/%3（%4%）</source>
        <translation>%1 %2/%3 (%4%)</translation>
    </message>
    <message>
        <source>フォルダ %1 を読み込めません: %2</source>
        <translation>the folder %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>1枚の写真を読み込めませんでした（一覧には残り，アルバムでは写真の代わりにお知らせを表示します）:</source>
        <translation>1 photo could not be read (it stays in the list; the album shows a note in its place):</translation>
    </message>
    <message>
        <source>%1枚の写真を読み込めませんでした（一覧には残り，アルバムでは写真の代わりにお知らせを表示します）:</source>
        <translation>%1 photos could not be read (they stay in the list; the album shows a note in their place):</translation>
    </message>
    <message>
        <source>アルバムに入れられる写真は%1枚までのため，1枚を読み込みませんでした（%2）</source>
        <translation>1 photo was left out: an album holds at most %1 photos (left out: %2)</translation>
    </message>
    <message>
        <source>アルバムに入れられる写真は%1枚までのため，%2枚を読み込みませんでした（%3 ～ %4）</source>
        <translation>%2 photos were left out: an album holds at most %1 photos (left out: %3 to %4)</translation>
    </message>
    <message>
        <source>フォルダ %1 はありません</source>
        <translation>the folder %1 does not exist</translation>
    </message>
    <message>
        <source>%1 を読み込めません: %2
（そのまま残します。--reimport で写真を読み込み直し，--reimport --replace-list でその新しい一覧を上に書きます）</source>
        <translation>cannot read %1: %2
(it is left as it is; --reimport reads the photos instead, --reimport --replace-list
also writes their new list over it)</translation>
    </message>
    <message>
        <source>%2 から %1 枚の写真を読み出しました</source>
        <translation>Loaded %1 photos from %2</translation>
    </message>
    <message>
        <source>%1 枚の写真を読み込みました</source>
        <translation>Imported %1 photos</translation>
    </message>
    <message>
        <source>（%1 枚はデコードできませんでした）</source>
        <translation> (%1 could not be decoded)</translation>
    </message>
    <message>
        <source>%1 には写真がありません。作るものがないので，アルバムは作りません</source>
        <translation>no photos in %1: there is nothing to make, no album is written</translation>
    </message>
    <message>
        <source>%1 はそのまま残します（--replace-list で新しい一覧をその上に書きます）</source>
        <translation>%1 is left as it is (--replace-list writes the new list over it)</translation>
    </message>
    <message>
        <source>%1 を保存できません: %2</source>
        <translation>cannot save %1: %2</translation>
    </message>
    <message>
        <source>画像を書き込めませんでした: %1</source>
        <translation>no image: %1</translation>
    </message>
    <message>
        <source>理由: %1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>アルバムのフォルダ %1 を作れません: %2</source>
        <translation>cannot make the album folder %1: %2</translation>
    </message>
    <message>
        <source>フォルダ %1 には書き込めません（%2）。写真一覧とアルバムはここに保存できません</source>
        <translation>the folder %1 cannot be written to (%2): neither the list nor the album can be saved there</translation>
    </message>
    <message>
        <source>オプションを %1 に記録できません: %2</source>
        <translation>cannot remember the options in %1: %2</translation>
    </message>
</context>
<context>
    <name>CoverEffect</name>
    <message>
        <location filename="../app/widgets/frmmain_step3.cpp" line="-6"/>
        <source>効果なし</source>
        <translation>No effect</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>キャンバス地効果</source>
        <translation>Canvas texture</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>油絵風効果</source>
        <translation>Oil painting</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ガラスタイル効果</source>
        <translation>Glass tiles</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>モノクロ効果</source>
        <translation>Monochrome</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>セピア調効果</source>
        <translation>Sepia</translation>
    </message>
</context>
<context>
    <name>PhotoListModel</name>
    <message>
        <location filename="../components/widgets/photogridview.cpp" line="+25"/>
        <source>写真</source>
        <translation>Photo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾊﾟｽ名</source>
        <translation>Path</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>機種名</source>
        <translation>Camera model</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>撮影日時</source>
        <translation>Date taken</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>回転</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>キャプション(表題)</source>
        <translation>Caption (title)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>左90度</source>
        <translation>90° left</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>右90度</source>
        <translation>90° right</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>180度</source>
        <translation>180°</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <location filename="../components/photolistmodel.cpp" line="+297"/>
        <source>アルバムのページにはそのまま入ります（HTMLのタグも使えます）。</source>
        <translation>Goes into the album&apos;s pages as typed (HTML markup works too).</translation>
    </message>
</context>
<context>
    <name>ProblemText</name>
    <message>
        <location filename="../catalogue/widgets/problemtext.cpp" line="+19"/>
        <source>指定されたフォルダが見つかりません。フォルダ名を確かめてください。
%1</source>
        <translation>The folder was not found. Please check its name.
%1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>指定されたフォルダを読み込めません（%1）。
%2</source>
        <translation>The folder cannot be read (%1).
%2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>指定されたフォルダには写真（*.jpg，*.jpeg，*.heic，*.heif，*.hif，*.avif）がありません。
%1</source>
        <translation>The folder holds no photos (*.jpg, *.jpeg, *.heic, *.heif, *.hif, *.avif).
%1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>次の写真は読み込めませんでした。一覧には残りますが，アルバムでは写真の代わりにお知らせを表示します。</source>
        <translation>These photos could not be read. They stay in the list; the album shows a note in place of each of them.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>・%1 : %2</source>
        <translation>• %1: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ほか%1枚</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>アルバムに入れられる写真は%1枚までのため，1枚（%2）を読み込みませんでした。</source>
        <translation>An album holds at most %1 photos, so 1 photo was left out (%2).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>アルバムに入れられる写真は%1枚までのため，%2枚（%3 ～ %4）を読み込みませんでした。</source>
        <translation>An album holds at most %1 photos, so %2 photos were left out (%3 to %4).</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>開けません（%1）</source>
        <translation>cannot be opened: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>空のファイルです</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>このプログラムで読める写真ではありません</source>
        <translation>not a photo this program can read</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ファイルが壊れているか，途中で切れています</source>
        <translation>the file is damaged or cut short</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>画像が大きすぎて読み込めません</source>
        <translation>the picture is too large to read</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>アクセスが拒否されました</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>操作が許可されていません</source>
        <translation>operation not permitted</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ディスクの空き容量が足りません</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ディスクの使用量の上限を超えました</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ファイルが大きすぎます</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ファイルまたはフォルダがありません</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>フォルダではありません</source>
        <translation>not a folder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ファイルではなくフォルダです</source>
        <translation>a folder, not a file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>読み取り専用のドライブです</source>
        <translation>the drive is read-only</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>読み書きの途中でエラーが起きました</source>
        <translation>an input/output error occurred</translation>
    </message>
    <message>
        <source>・%1</source>
        <translation>• %1</translation>
    </message>
    <message>
        <source>新しい写真%1枚を一覧の最後に追加しました: %2</source>
        <translation>New photos added at the end of the list (%1): %2</translation>
    </message>
    <message>
        <source>写真一覧ﾃﾞｰﾀの保存後に変更された写真%1枚を読み込み直しました。</source>
        <translation>Photos changed since the list was saved, read afresh (%1):</translation>
    </message>
    <message>
        <source>写真一覧ﾃﾞｰﾀにある次の写真%1枚が，フォルダにありません。</source>
        <translation>Photos of the saved list that are no longer in the folder (%1):</translation>
    </message>
    <message>
        <source>一覧から外しますか？

［いいえ］を選ぶと一覧に残します（写真が戻れば使われます）。写真がないあいだ，アルバムでは写真の代わりにお知らせを表示します。</source>
        <translation>Remove them from the list?

No keeps them in the list (they are used again when the photos come back). While a photo is missing, the album shows a note in its place.</translation>
    </message>
</context>
<context>
    <name>ProgramInfo</name>
    <message>
        <location filename="../app/widgets/frmabout.cpp" line="+31"/>
        <source>警告: このプログラムは現状のまま提供され、いかなる保証もありません。写真は読み込み専用で扱い、変更することはありません。</source>
        <translation>Warning: this program is provided as is, without any warranty. Photos are opened read-only and are never changed.</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <location line="+11"/>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ｼｽﾃﾑ情報(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System information is not available at the moment.</translation>
    </message>
</context>
<context>
    <name>frmColor16</name>
    <message>
        <location filename="../design/widgets/frmcolor16.cpp" line="+23"/>
        <source>色見本(標準)</source>
        <translation>Colour Swatches (Standard)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>■ 色見本から色を選んでください。</source>
        <translation>■ Choose a colour from the swatches.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>OK(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>frmCreateAlbum</name>
    <message>
        <location filename="../generate/widgets/frmcreatealbum.cpp" line="+18"/>
        <source>Lumivert作成</source>
        <translation>Create Album</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>処理中です。しばらくお待ちください。</source>
        <translation>Working. Please wait.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>frmGetPicture</name>
    <message>
        <location filename="../catalogue/widgets/frmgetpicture.cpp" line="+33"/>
        <source>写真一覧の取得</source>
        <translation>Reading the Photos</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>処理中です。しばらくお待ちください。</source>
        <translation>Working. Please wait.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <location line="+93"/>
        <source>しばらくお待ちください。%1/%2...</source>
        <translation>Please wait. %1/%2...</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <location filename="../app/widgets/frmmain.cpp" line="+373"/>
        <source>写真一覧</source>
        <translation>Photo List</translation>
    </message>
    <message>
        <location filename="../app/widgets/frmmain_step3.cpp" line="+219"/>
        <source>Lumivert作成</source>
        <translation>&amp;Create Album</translation>
    </message>
    <message>
        <location filename="../app/widgets/frmmain.cpp" line="-300"/>
        <source>フォルダ選択</source>
        <comment>tab</comment>
        <translation>&amp;Folder</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>写真一覧</source>
        <comment>tab</comment>
        <translation>&amp;Photo List</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lumivert作成</source>
        <comment>tab</comment>
        <translation>Create &amp;Album</translation>
    </message>
    <message>
        <location line="+138"/>
        <source>指定されたﾌｫﾙﾀﾞは存在しませんでした。写真の取り込みを中止します。</source>
        <translation>The folder given does not exist. The photos are not read.</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>参照...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>写真一覧の読み込み...</source>
        <translation>&amp;Read the Photo List...</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>■ 写真のあるフォルダを指定してください。</source>
        <translation>■ Choose the folder that holds your photos.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>※ 写真は読込み専用で利用します。編集結果を上書き保存することはありません。</source>
        <translation>* Photos are used read-only. Your edits are never saved over them.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>※ Lumivertの保存先は，選択フォルダ中の[Lumivert]フォルダです。[Lumivert]フォルダが既にある場合は，</source>
        <translation>* The album is saved in the [Lumivert] folder inside the chosen folder. If a [Lumivert] folder already exists, </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>上書き保存されます。</source>
        <translation>it is overwritten.</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>参照ﾌｫﾙﾀﾞに写真一覧ﾃﾞｰﾀが保存されています。読み込みますか？<byte value="xd"/>
<byte value="xd"/>
写真一覧ﾃﾞｰﾀを読み込まない場合は，新規に写真一覧ﾃﾞｰﾀを作成します。</source>
        <translation>The folder holds a saved photo list. Do you want to load it?<byte value="xd"/>
<byte value="xd"/>
If you do not load it, a new photo list is made from the photos.</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>写真一覧ﾃﾞｰﾀを読み込めませんでした。写真を新規に読み込みます。

%1</source>
        <translation>The saved photo list could not be read. The photos are read afresh.

%1</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>写真一覧ﾃﾞｰﾀを保存できませんでした。

%1</source>
        <translation>The photo list could not be saved.

%1</translation>
    </message>
    <message>
        <location filename="../app/widgets/frmmain_step2.cpp" line="+37"/>
        <source>先頭へ</source>
        <translation>To &amp;Top</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真を先頭に移動する</source>
        <translation>Move the photo to the top</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>前へ</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真を前に移動する</source>
        <translation>Move the photo up one place</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>次へ</source>
        <translation>Move Do&amp;wn</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真を次に移動する</source>
        <translation>Move the photo down one place</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>末尾へ</source>
        <translation>To &amp;Bottom</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真を末尾に移動する</source>
        <translation>Move the photo to the bottom</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ﾌｧｲﾙ名 昇順</source>
        <translation>&amp;Name A→Z</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真をﾌｧｲﾙ名で昇順に並び替える</source>
        <translation>Sort the photos by file name, ascending</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ﾌｧｲﾙ名 降順</source>
        <translation>Na&amp;me Z→A</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真をﾌｧｲﾙ名で降順に並び替える</source>
        <translation>Sort the photos by file name, descending</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>撮影日時 昇順</source>
        <translation>&amp;Date Oldest First</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>写真を撮影日時で昇順に並び替える</source>
        <translation>Sort the photos by the date taken, oldest first</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>撮影日時 降順</source>
        <translation>Dat&amp;e Newest First</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>写真を撮影日時で降順に並び替える</source>
        <translation>Sort the photos by the date taken, newest first</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>除外</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真をｱﾙﾊﾞﾑから除外する</source>
        <translation>Leave the photo out of the album</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>保存</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>現在の写真一覧ﾃﾞｰﾀを保存する</source>
        <translation>Save the current photo list</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>初期化</source>
        <translation>Start &amp;Over</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>写真一覧ﾃﾞｰﾀの初期化</source>
        <translation>Start the photo list afresh from the folder</translation>
    </message>
    <message>
        <location filename="../app/widgets/frmmain_step3.cpp" line="-178"/>
        <source>■ 表紙設定</source>
        <translation>■ Cover</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>・表紙にする写真を選んでください</source>
        <translation>· Choose the photo for the cover</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>写真を選ぶ...</source>
        <translation>C&amp;hoose Photo...</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>・特殊効果</source>
        <translation>· Special effect</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>■ 自動ページめくり</source>
        <translation>■ Slide Show</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>自動ページめくり機能を付加する</source>
        <translation>Turn the pages a&amp;utomatically</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>表示時間</source>
        <translation>Show each page for</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>秒</source>
        <translation>seconds</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>■ ページ幅</source>
        <translation>■ Page Width</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>480ピクセル(15&quot;液晶相当)</source>
        <translation>480 pixels (for a 15&quot; LCD)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>640ピクセル(17&quot;CRT相当)</source>
        <translation>640 pixels (for a 17&quot; CRT)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>800ピクセル(17&quot;液晶相当)</source>
        <translation>800 pixels (for a 17&quot; LCD)</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>■ アルバム写真保存設定</source>
        <translation>■ Album Photos</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>プログレッシブ形式</source>
        <translation>Pro&amp;gressive JPEG</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>高解像度画面用の画像</source>
        <translation>&amp;Images for high-density screens</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>画質</source>
        <translation>Quality</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>高(画質の劣化は最小，ファイルサイズ最大)</source>
        <translation>High (least loss of quality, largest files)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>標準（画質，ファイルサイズ共に，低と高の中間）</source>
        <translation>Standard (quality and file size between low and high)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>低（写真の保存に必要なファイルサイズが最小）</source>
        <translation>Low (smallest files)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>■ ページ設定</source>
        <translation>■ Photo Pages</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>カメラ機種名</source>
        <translation>Camera model</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+9"/>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <location line="-8"/>
        <location line="+11"/>
        <source>キャプション(表題)</source>
        <translation>Caption (title)</translation>
    </message>
    <message>
        <location line="-10"/>
        <location line="+9"/>
        <source>撮影日時</source>
        <translation>Date taken</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>シャッター速度(Tv)</source>
        <translation>Shutter speed (Tv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>絞り値(Av)</source>
        <translation>Aperture (Av)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>■ 目次設定</source>
        <translation>■ Index Page</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>連番</source>
        <translation>Number</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>■ ページスタイル</source>
        <translation>■ Page Style</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ナビゲーションバーを日本語表示にする</source>
        <translation>Navigation bar in &amp;Japanese</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>背景画像</source>
        <translation>Background image</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>背景画像あり</source>
        <translation>With background image</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>背景画像なし</source>
        <translation>No background image</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>背景画像を選ぶ...</source>
        <translation>Choose Bac&amp;kground...</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>色の選択</source>
        <translation>Colour</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>スタイルシート</source>
        <translation>Style sheet</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>プレビュー</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>■ タイトル</source>
        <translation>■ Title</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Lumivertを新規に作成します。</source>
        <translation>Creates the album afresh.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾍﾟｰｼﾞｽﾀｲﾙのみ変更する</source>
        <translation>Change Page St&amp;yle Only</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>既に作成済みのLumivertに対して，HTMLﾌｧｲﾙのみを書き換えます。写真のﾘｻｲｽﾞ処理を省略するためLumivertのﾍﾟｰｼﾞｽﾀｲﾙを素早く更新できます。</source>
        <translation>Rewrites only the HTML files of an album made before. The photos are not resized again, so the page style is updated quickly.</translation>
    </message>
    <message>
        <location line="+164"/>
        <source>写真のあるフォルダを指定してください。</source>
        <translation>Choose the folder that holds your photos.</translation>
    </message>
    <message>
        <source>プレビュー用のサンプルアルバムを用意できませんでした。

%1</source>
        <translation>The sample album for the preview could not be prepared.

%1</translation>
    </message>
    <message>
        <source>Lumivertの設定を保存できませんでした。

%1</source>
        <translation>The album&apos;s options could not be saved for the next time.

%1</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/widgets/frmmain_step2.cpp" line="+1"/>
        <source>写真%n枚を%1に保存しました。</source>
        <translation>
            <numerusform>Saved %n photo to %1</numerusform>
            <numerusform>Saved %n photos to %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/widgets/frmmain_step3.cpp" line="+1"/>
        <source>Lumivertを%1に作成しました。</source>
        <translation>Album written to %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Lumivertを作成しましたが，ブラウザで開けませんでした。

%1

Lumivertのフォルダを開きますか？</source>
        <translation>The album was written, but the browser could not be opened to show it.

%1

Open the album&apos;s folder?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>理由: %1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>保存する(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>保存しない(&amp;N)</source>
        <translation>Do&amp;n't Save</translation>
    </message>
    <message>
        <source>写真一覧ﾃﾞｰﾀの変更(並び順，除外，回転，キャプション)が<byte value="xd"/>
保存されていません。</source>
        <translation>The photo list has changes (order, removals, rotations, captions) that are not saved.</translation>
    </message>
    <message>
        <source>終了する前に，写真一覧ﾃﾞｰﾀを保存しますか？</source>
        <translation>Save the photo list before closing?</translation>
    </message>
    <message>
        <source>写真一覧を読み込む前に，写真一覧ﾃﾞｰﾀを保存しますか？</source>
        <translation>Save the photo list before reading the photos?</translation>
    </message>
    <message>
        <source>初期化する前に，写真一覧ﾃﾞｰﾀを保存しますか？</source>
        <translation>Save the photo list before starting over?</translation>
    </message>
    <message>
        <source>（コンピュータ %1 のLumivertです。そこでLumivertが動いていないのに待ちが終わらないときは，%2 を削除してください。）</source>
        <translation>(It is a Lumivert on the computer %1. If no Lumivert runs there and the wait does not end, delete %2.)</translation>
    </message>
    <message>
        <source>別のLumivertがこのアルバムを書き込んでいます。終わるのを待っています…</source>
        <translation>Another Lumivert is writing this album; waiting…</translation>
    </message>
    <message>
        <source>前回の設定の %1 は使いません（使えるのはプログラムのものと写真のフォルダ内のファイルです）。</source>
        <translation>The remembered %1 is not used (only the program's own files and files inside the photo folder are).</translation>
    </message>
    <message>
        <source>このフォルダには書き込めません（%1）。
%2

写真一覧ﾃﾞｰﾀとLumivertはこのフォルダに保存できません。写真をコピーした書き込めるフォルダで作成してください。</source>
        <translation>This folder cannot be written to (%1).
%2

Neither the photo list nor the album can be saved here. Copy the photos to a folder you can write to and make the album there.</translation>
    </message>
    <message>
        <source>写真一覧に写真がないため，作成するものがありません。</source>
        <translation>The photo list is empty: there is nothing to make.</translation>
    </message>
    <message>
        <source>写真一覧に写真がないため，保存するものがありません。</source>
        <translation>The photo list is empty: there is nothing to save.</translation>
    </message>
    <message>
        <source>Lumivertを作成できませんでした。フォルダ%1を作れません。

理由: %2</source>
        <translation>The album could not be created: the folder %1 cannot be made.

Reason: %2</translation>
    </message>
    <message>
        <source>写真一覧ﾃﾞｰﾀを保存できませんでした。
%1</source>
        <translation>The photo list could not be saved.
%1</translation>
    </message>
    <message>
        <source>フォルダを開けませんでした。

%1</source>
        <translation>The folder could not be opened.

%1</translation>
    </message>
    <message>
        <source>プレビューをブラウザで開けませんでした。

%1

プレビューのフォルダを開きますか？</source>
        <translation>The preview could not be opened in a browser.

%1

Open the preview's folder?</translation>
    </message>
</context>
<context>
    <name>frmSelectBackImage</name>
    <message>
        <location filename="../design/widgets/frmselectbackimage.cpp" line="+23"/>
        <source>Lumivert背景画像</source>
        <translation>Album Background</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>■ Lumivertの背景画像を選んでください。</source>
        <translation>■ Choose the background image of the album.</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>OK(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>背景画像が選択されていません。</source>
        <translation>No background image is selected.</translation>
    </message>
</context>
<context>
    <name>frmSelectFolder</name>
    <message>
        <location filename="../app/widgets/frmselectfolder.cpp" line="+66"/>
        <source>フォルダの選択</source>
        <translation>Choose a Folder</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>フォルダを選択してください</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>frmSelectTopImage</name>
    <message>
        <location filename="../design/widgets/frmselecttopimage.cpp" line="+24"/>
        <source>Lumivert表紙</source>
        <translation>Album Cover</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>■ Lumivert表紙の写真を選んでください。</source>
        <translation>■ Choose the photo for the album cover.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>OK(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>写真が選択されていません。</source>
        <translation>No photo is selected.</translation>
    </message>
</context>
</TS>
