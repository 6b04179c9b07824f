<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>vanplay</name>
    <message>
        <source>--to-mp3에는 파일이 하나 이상 필요합니다</source>
        <translation>--to-mp3 needs at least one file</translation>
    </message>
    <message>
        <source>사용법: vanplay [파일]
       vanplay --to-mp3 파일...
녹음(.wav 또는 압축된 .vrc)을 재생하거나, --to-mp3와 함께 각 파일을
그 옆의 MP3로 내보냅니다(call.vrc -&gt; call.mp3).
</source>
        <translation>usage: vanplay [FILE]
       vanplay --to-mp3 FILE...
Plays a recording (.wav, or compressed .vrc) or, with --to-mp3, exports
each FILE to an MP3 beside it (call.vrc -&gt; call.mp3).
</translation>
    </message>
</context>
</TS>
