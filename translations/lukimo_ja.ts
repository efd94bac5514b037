<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AddDraws</name>
    <message>
        <source>Add draws</source>
        <translation>当せん番号を追加</translation>
    </message>
    <message>
        <source>&amp;Paste draws, one a line:</source>
        <translation>当せん番号を1行に1回ずつ貼り付け(&amp;P):</translation>
    </message>
    <message>
        <source>&amp;Open file…</source>
        <translation>ファイルを開く(&amp;O)…</translation>
    </message>
    <message>
        <source>&amp;Draw</source>
        <translation>回号(&amp;D)</translation>
    </message>
    <message>
        <source>Da&amp;te</source>
        <translation>抽せん日(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Number</source>
        <translation>当せん番号(&amp;N)</translation>
    </message>
    <message>
        <source>Pre&amp;view</source>
        <translation>確認(&amp;V)</translation>
    </message>
    <message>
        <source>What will change:</source>
        <translation>追加される内容:</translation>
    </message>
    <message>
        <source>Take the short numbers with their leading zeros</source>
        <translation>桁の足りない番号は先頭に0を補って取り込む</translation>
    </message>
    <message>
        <source>Replace the draws I added before</source>
        <translation>前に追加した回を置き換える</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>追加(&amp;A)</translation>
    </message>
    <message>
        <source>T&amp;ry again</source>
        <translation>もう一度試す(&amp;R)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Open a file of draws</source>
        <translation>当せん番号のファイルを開く</translation>
    </message>
    <message>
        <source>Text and CSV files (*.csv *.txt *.tsv);;All files (*)</source>
        <translation>テキストと CSV ファイル (*.csv *.txt *.tsv);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>They were not saved: %1 They are used until Lukimo ends.</source>
        <translation>保存できませんでした: %1 追加した回は Lukimo を終了するまで使われます。</translation>
    </message>
    <message>
        <source>Saved in %1.</source>
        <translation>%1 に保存しました。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Draws added: %1</source>
        <translation>追加した回の数: %1</translation>
    </message>
    <message>
        <source>Draws the file already held otherwise, and kept as it has them: %1</source>
        <translation>ファイルに別の内容で既にあり、ファイルのままにした回: %1</translation>
    </message>
</context>
<context>
    <name>DrawPreview</name>
    <message>
        <source>dates do not go forward with draw numbers: draw %1 on %2</source>
        <translation>回号の順に日付が進んでいません: 第%1回が%2</translation>
    </message>
    <message>
        <source>draw %1 is on line %2 too, with another date or number</source>
        <translation>第%1回は%2行目にもあり、日付か番号が違います</translation>
    </message>
    <message>
        <source>date %1 is after today</source>
        <translation>日付%1は今日より後です</translation>
    </message>
    <message>
        <source>draw %1 is %2 in the built-in table</source>
        <translation>第%1回は内蔵の表では%2です</translation>
    </message>
    <message>
        <source>draw %1 was added as %2; choose to replace it to take this line</source>
        <translation>第%1回は%2として追加済みです。この行を使うには置き換えを選んでください</translation>
    </message>
    <message>
        <source>1 new draw: %1</source>
        <translation>新しい回 1件: %1</translation>
    </message>
    <message>
        <source>%1 new draws: %2 to %3</source>
        <translation>新しい回 %1件: %2 から %3</translation>
    </message>
    <message>
        <source>No new draws.</source>
        <translation>新しい回はありません。</translation>
    </message>
    <message>
        <source>draw %1 replaced by %2</source>
        <translation>第%1回を%2に置き換え</translation>
    </message>
    <message>
        <source>Rows already known and agreeing: %1</source>
        <translation>既にあり一致する行: %1</translation>
    </message>
    <message>
        <source>draw %1 missing</source>
        <translation>第%1回がありません</translation>
    </message>
    <message>
        <source>draws %1–%2 missing</source>
        <translation>第%1回～第%2回がありません</translation>
    </message>
    <message>
        <source>line %1: %2 → %3, taken only when you confirm it</source>
        <translation>%1行目: %2 → %3 (確認したときだけ使います)</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>%1行目: %2</translation>
    </message>
</context>
<context>
    <name>DrawReader</name>
    <message>
        <source>draw number %1 is above 9999</source>
        <translation>回号%1は9999を超えています</translation>
    </message>
    <message>
        <source>there is no draw 0</source>
        <translation>第0回はありません</translation>
    </message>
    <message>
        <source>%1 is not a number of three digits 0–9</source>
        <translation>%1は0～9の3桁の番号ではありません</translation>
    </message>
    <message>
        <source>more columns than the header names</source>
        <translation>見出しより列が多すぎます</translation>
    </message>
    <message>
        <source>%1 is not a number of winners or yen</source>
        <translation>%1は口数や金額ではありません</translation>
    </message>
    <message>
        <source>two draw numbers</source>
        <translation>回号が2つあります</translation>
    </message>
    <message>
        <source>two dates</source>
        <translation>日付が2つあります</translation>
    </message>
    <message>
        <source>%1 is not a draw, a date or a number</source>
        <translation>%1は回号でも日付でも番号でもありません</translation>
    </message>
    <message>
        <source>more columns than a draw, a date and a number (prizes are read under a header that names them)</source>
        <translation>回号・日付・番号より列が多すぎます (当せん金は列名の見出しがあるときだけ読みます)</translation>
    </message>
    <message>
        <source>no draw number</source>
        <translation>回号がありません</translation>
    </message>
    <message>
        <source>%1 is not a draw number</source>
        <translation>%1は回号ではありません</translation>
    </message>
    <message>
        <source>%1 is not a date</source>
        <translation>%1は日付ではありません</translation>
    </message>
    <message>
        <source>no number</source>
        <translation>番号がありません</translation>
    </message>
    <message>
        <source>The text is over 4 MB; nothing was read.</source>
        <translation>テキストが4 MBを超えているため、何も読み込みませんでした。</translation>
    </message>
    <message>
        <source>Line %1 is over 64 kB; nothing was read.</source>
        <translation>%1行目が64 kBを超えているため、何も読み込みませんでした。</translation>
    </message>
    <message>
        <source>not text in this file&apos;s encoding</source>
        <translation>このファイルの文字コードの文字ではありません</translation>
    </message>
    <message>
        <source>a quote is not closed</source>
        <translation>引用符が閉じていません</translation>
    </message>
    <message>
        <source>The file is over 4 MB; nothing was read.</source>
        <translation>ファイルが4 MBを超えているため、何も読み込みませんでした。</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>ファイルを読み込めません。</translation>
    </message>
</context>
<context>
    <name>DrawStore</name>
    <message>
        <source>%1 is over 4 MB.</source>
        <translation>%1は4 MBを超えています。</translation>
    </message>
    <message>
        <source>%1 cannot be read.</source>
        <translation>%1を読み込めません。</translation>
    </message>
    <message>
        <source>%1 has lost its leading zeros</source>
        <translation>%1は先頭の0が失われています</translation>
    </message>
    <message>
        <source>draw %1 is on another line too, with another date or number</source>
        <translation>第%1回は別の行にもあり、日付か番号が違います</translation>
    </message>
    <message>
        <source>The file is in UTF-16, which Lukimo does not add to.</source>
        <translation>ファイルがUTF-16のため、Lukimoは追加できません。</translation>
    </message>
    <message>
        <source>Added draws cannot be kept here; they stay until Lukimo ends.</source>
        <translation>追加した回はここでは保存できません。Lukimoを終了するまで使えます。</translation>
    </message>
    <message>
        <source>The folder of %1 cannot be made.</source>
        <translation>%1のフォルダを作れません。</translation>
    </message>
    <message>
        <source>Another Lukimo is saving %1; try again.</source>
        <translation>別のLukimoが%1を保存中です。もう一度試してください。</translation>
    </message>
    <message>
        <source>%1 cannot be locked for writing.</source>
        <translation>%1を書き込みのためにロックできません。</translation>
    </message>
    <message>
        <source>Nothing was added to %1: %2</source>
        <translation>%1には何も追加しませんでした: %2</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1に書き込めませんでした: %2</translation>
    </message>
    <message>
        <source>draws.csv line %1 skipped: %2</source>
        <translation>draws.csv の %1 行目を読み飛ばしました: %2</translation>
    </message>
    <message>
        <source>draw %1 is built in as %2 (%3)</source>
        <translation>第%1回は組み込みの当せん番号 %2（%3）と異なります</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>How to use</source>
        <translation>使い方</translation>
    </message>
</context>
<context>
    <name>Input_Serch</name>
    <message>
        <source>serch menu</source>
        <translation>過去データ検索</translation>
    </message>
    <message>
        <source>Serch menu</source>
        <translation>過去データ検索メニュー</translation>
    </message>
    <message>
        <source>No</source>
        <translation>回号</translation>
    </message>
    <message>
        <source>mode</source>
        <translation>モード</translation>
    </message>
    <message>
        <source>Bought No entry(%1)</source>
        <translation>購入番号の入力(%1)</translation>
    </message>
    <message>
        <source>Bought No serch</source>
        <translation>購入番号の検索</translation>
    </message>
    <message>
        <source>Data to Times</source>
        <translation>番号から回数</translation>
    </message>
    <message>
        <source>Times to Data</source>
        <translation>回号から番号</translation>
    </message>
    <message>
        <source>Bought Number Serch</source>
        <translation>購入した番号を検索します</translation>
    </message>
    <message>
        <source>Bought Number Entry</source>
        <translation>購入した番号を入力します</translation>
    </message>
    <message>
        <source>change to data from times</source>
        <translation>回号から当せん番号を調べます</translation>
    </message>
    <message>
        <source>change to times from data</source>
        <translation>番号が出た回数を調べます</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>番号</translation>
    </message>
    <message>
        <source>Input Bought No</source>
        <translation>購入番号</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>データがありません</translation>
    </message>
    <message>
        <source>The list of bought numbers is full (%1 numbers). Clear it to enter more.</source>
        <translation>購入番号の一覧がいっぱいです（%1 件）。さらに入力するには一覧をクリアしてください。</translation>
    </message>
    <message>
        <source>serch result</source>
        <translation>検索結果</translation>
    </message>
    <message>
        <source>There are no hit</source>
        <translation>該当はありません</translation>
    </message>
    <message>
        <source>There are hit:%1 times </source>
        <translation>該当:%1 回 </translation>
    </message>
    <message>
        <source>There aren&apos;t No Namber</source>
        <translation>その番号は出ていません</translation>
    </message>
    <message>
        <source>There  are %1 times</source>
        <translation>%1 回出ています</translation>
    </message>
    <message>
        <source>%1 times data is %2</source>
        <translation>第%1回の当せん番号は %2</translation>
    </message>
    <message>
        <source>Draws %1–%2, to %3</source>
        <translation>第%1回～第%2回（%3まで）</translation>
    </message>
    <message>
        <source>Stored %1. Numbers bought: %2</source>
        <translation>%1 を記録しました。買った数字は %2 個です</translation>
    </message>
    <message>
        <source>List cleared</source>
        <translation>買った数字をすべて消しました</translation>
    </message>
    <message>
        <source>Stores and searches the numbers you bought, and looks up past draws</source>
        <translation>買った数字を記録して検索し、過去の抽選結果を調べます</translation>
    </message>
    <message>
        <source>Stores each number you enter as one you bought</source>
        <translation>入力した数字を買った数字として記録します</translation>
    </message>
    <message>
        <source>Counts how often a number is among the ones you bought</source>
        <translation>買った数字の中にその数字がいくつあるか数えます</translation>
    </message>
    <message>
        <source>Add draws…</source>
        <translation>当せん番号を追加…</translation>
    </message>
    <message>
        <source>Other lines skipped: %1</source>
        <translation>ほかに読み飛ばした行: %1</translation>
    </message>
</context>
<context>
    <name>Random</name>
    <message>
        <source>Lukimo</source>
        <translation>ルキモ</translation>
    </message>
    <message>
        <source>Left Button click:Nuber Stop.
Right Button click:Settei menu.</source>
        <translation>左クリック:数字をストップ
右クリック:設定メニュー</translation>
    </message>
    <message>
        <source>Box Pattern</source>
        <translation>ボックスパターン</translation>
    </message>
    <message>
        <source>Strate &amp; box pattern:%1</source>
        <translation>ストレート &amp; ボックス:%1</translation>
    </message>
    <message>
        <source>Strate &amp; box pattern:%1
Box No1:%2
Box No2:%3</source>
        <translation>ストレート &amp; ボックス:%1
ボックス1:%2
ボックス2:%3</translation>
    </message>
    <message>
        <source>Strate &amp; box pattern:%1 Box No1:%2
Box No2:%3</source>
        <translation>ストレート &amp; ボックス:%1 ボックス1:%2
ボックス2:%3</translation>
    </message>
    <message>
        <source>Strate &amp; box pattern:%1Box No1:%2
Box No2:%3</source>
        <translation>ストレート &amp; ボックス:%1ボックス1:%2
ボックス2:%3</translation>
    </message>
    <message>
        <source>Strate:%1
Box No1:%2
Box No2:%3
Box No3:%4
Box No4:%5
Box No5:%6
</source>
        <translation>ストレート:%1
ボックス1:%2
ボックス2:%3
ボックス3:%4
ボックス4:%5
ボックス5:%6
</translation>
    </message>
    <message>
        <source>Lukimo number</source>
        <translation>Lukimo の数字</translation>
    </message>
    <message>
        <source>Three rolling digits. Space or Return stops and restarts them, the Menu key opens the settings, F1 the help.</source>
        <translation>回り続ける3桁の数字です。スペースキーかリターンキーで止まり、もう一度押すとまた回ります。メニューキーで設定、F1 でヘルプを開きます。</translation>
    </message>
    <message>
        <source>Lukimo number %1</source>
        <translation>Lukimo の数字 %1</translation>
    </message>
</context>
<context>
    <name>Setup_config</name>
    <message>
        <source>settei menu numbers3</source>
        <translation>設定メニュー ナンバーズ3</translation>
    </message>
    <message>
        <source>Settei menu numbers3</source>
        <translation>ナンバーズ3の設定メニュー</translation>
    </message>
    <message>
        <source>mode</source>
        <translation>モード</translation>
    </message>
    <message>
        <source>type</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Numbers3</source>
        <translation>ナンバーズ3</translation>
    </message>
    <message>
        <source>Numbers4</source>
        <translation>ナンバーズ4</translation>
    </message>
    <message>
        <source>Random mode</source>
        <translation>ランダムモード</translation>
    </message>
    <message>
        <source>Rundom mode</source>
        <translation>ランダムモード</translation>
    </message>
    <message>
        <source>self mode</source>
        <translation>セルフモード</translation>
    </message>
    <message>
        <source>Max_4</source>
        <translation>最大_4</translation>
    </message>
    <message>
        <source>Max_3</source>
        <translation>最大_3</translation>
    </message>
    <message>
        <source>3 digdit</source>
        <translation>百の位</translation>
    </message>
    <message>
        <source>Max_2</source>
        <translation>最大_2</translation>
    </message>
    <message>
        <source>2 digdit</source>
        <translation>十の位</translation>
    </message>
    <message>
        <source>Max_1</source>
        <translation>最大_1</translation>
    </message>
    <message>
        <source>1 digdit</source>
        <translation>一の位</translation>
    </message>
    <message>
        <source>OK and close</source>
        <translation>OKして閉じる</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>バージョン</translation>
    </message>
    <message>
        <source>Version:Lukimo %1

Author: The Lukimo developers

Contact: the Lukimo project&apos;s issue tracker

Copyright (C) 2026 The Lukimo developers. Free software under the GNU GPL, version 3 or later.</source>
        <translation>バージョン:Lukimo %1

作者: Lukimo 開発者一同

連絡先: Lukimo プロジェクトの課題トラッカー

Copyright (C) 2026 The Lukimo developers. GNU GPL バージョン3以降のもとで配布されるフリーソフトウェアです。</translation>
    </message>
    <message>
        <source>help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>serch</source>
        <translation>過去データ</translation>
    </message>
    <message>
        <source>Past Data Serch menu</source>
        <translation>過去データ検索メニュー</translation>
    </message>
    <message>
        <source>%1, thousands digit</source>
        <translation>%1（千の位）</translation>
    </message>
    <message>
        <source>%1, hundreds digit</source>
        <translation>%1（百の位）</translation>
    </message>
    <message>
        <source>%1, tens digit</source>
        <translation>%1（十の位）</translation>
    </message>
    <message>
        <source>%1, ones digit</source>
        <translation>%1（一の位）</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Limits or picks each digit of the number; opens the help and the past data</source>
        <translation>数字の各桁の上限を決めるか、各桁を自分で選びます。ヘルプと過去のデータもここから開きます</translation>
    </message>
    <message>
        <source>Three-digit numbers</source>
        <translation>3桁の数字</translation>
    </message>
    <message>
        <source>Four-digit numbers</source>
        <translation>4桁の数字</translation>
    </message>
    <message>
        <source>Each digit is drawn at random, up to the key chosen for its position</source>
        <translation>各桁は、その桁で選んだ数字までの範囲でランダムに選ばれます</translation>
    </message>
    <message>
        <source>Each digit is the key chosen for its position</source>
        <translation>各桁は、その桁で選んだ数字になります</translation>
    </message>
    <message>
        <source>Shows the version and the licence</source>
        <translation>バージョンとライセンスを表示します</translation>
    </message>
    <message>
        <source>Shows how to use Lukimo</source>
        <translation>Lukimo の使い方を表示します</translation>
    </message>
</context>
</TS>
