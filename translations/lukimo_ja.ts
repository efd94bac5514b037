<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
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
</context>
</TS>
