<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>mp3conv</name>
    <message>
        <source>파일 이름이 없습니다</source>
        <translation>no file name given</translation>
    </message>
    <message>
        <source>WAV 파일을 열 수 없습니다</source>
        <translation>the WAV file cannot be opened</translation>
    </message>
    <message>
        <source>8비트 또는 16비트 PCM이나 mu-law 소리의 WAV 파일이 아닙니다</source>
        <translation>not a WAV file of 8-bit or 16-bit PCM or mu-law sound</translation>
    </message>
    <message>
        <source>MP3 파일을 만들 수 없습니다</source>
        <translation>the MP3 file cannot be created</translation>
    </message>
    <message>
        <source>MP3 인코더가 실패했습니다</source>
        <translation>the MP3 encoder failed</translation>
    </message>
    <message>
        <source>WAV 파일을 읽지 못했습니다</source>
        <translation>reading the WAV file failed</translation>
    </message>
    <message>
        <source>MP3 파일을 쓰지 못했습니다</source>
        <translation>writing the MP3 file failed</translation>
    </message>
    <message>
        <source>MP3 파일이 자기 원본을 덮어쓰게 됩니다</source>
        <translation>the MP3 file would replace its own source</translation>
    </message>
    <message>
        <source>알 수 없는 실패</source>
        <translation>unknown failure</translation>
    </message>
</context>
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
    <message>
        <source>이미 프로그램이 실행중입니다.</source>
        <translation>The program is already running.</translation>
    </message>
    <message>
        <source>  변환 실패: 코덱 없음</source>
        <translation>  Conversion failed: no codec</translation>
    </message>
    <message>
        <source>  변환 실패: 파일을 읽을 수 없음</source>
        <translation>  Conversion failed: the file cannot be read</translation>
    </message>
    <message>
        <source>  변환 실패: 임시 파일 쓰기 오류</source>
        <translation>  Conversion failed: cannot write the temporary file</translation>
    </message>
    <message>
        <source>  변환 실패</source>
        <translation>  Conversion failed</translation>
    </message>
    <message>
        <source>  MP3 변환 실패</source>
        <translation>  MP3 conversion failed</translation>
    </message>
    <message>
        <source>파일 열기</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>재생</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>일시 정지</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>정지</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>MP3로 내보내기</source>
        <translation>Export to MP3</translation>
    </message>
    <message>
        <source>재생 위치</source>
        <translation>Playing position</translation>
    </message>
    <message>
        <source>음량</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>최소화</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>재생 시간</source>
        <translation>Playing time</translation>
    </message>
    <message>
        <source>상태</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>그런 파일이 없습니다</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>변환에 쓸 임시 파일을 만들 수 없습니다</source>
        <translation>no temporary file can be made for decoding</translation>
    </message>
    <message>
        <source>변환했습니다</source>
        <translation>decoded</translation>
    </message>
    <message>
        <source>코덱 라이브러리 libtrc.so 또는 그 진입점 중 하나가 없습니다</source>
        <translation>the codec library libtrc.so or one of its entry points is missing</translation>
    </message>
    <message>
        <source>압축된 녹음을 읽을 수 없습니다</source>
        <translation>the compressed recording cannot be read</translation>
    </message>
    <message>
        <source>변환한 WAV 파일을 쓸 수 없습니다</source>
        <translation>the decoded WAV file cannot be written</translation>
    </message>
    <message>
        <source>취소되었습니다</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>변환에 실패했습니다</source>
        <translation>decoding failed</translation>
    </message>
</context>
</TS>
