<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>speechcodec</name>
    <message>
        <source>%1을(를) 열 수 없습니다: %2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1을(를) 읽을 수 없습니다</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>44바이트 WAV 머리말보다 짧습니다</source>
        <translation>shorter than a 44-byte WAV header</translation>
    </message>
    <message>
        <source>RIFF WAVE 파일이 아닙니다</source>
        <translation>not a RIFF WAVE file</translation>
    </message>
    <message>
        <source>12번 위치에 16바이트 fmt 청크가 없습니다</source>
        <translation>no 16-byte format chunk at offset 12</translation>
    </message>
    <message>
        <source>36번 위치에 data 청크가 없습니다</source>
        <translation>no data chunk at offset 36</translation>
    </message>
    <message>
        <source>%1: 44바이트 머리말이 있는 WAV 파일이 아닙니다</source>
        <translation>%1: not a WAV file with a 44-byte header</translation>
    </message>
    <message>
        <source>%1: 44바이트 머리말이 있는 WAV 파일이 아닙니다: %2</source>
        <translation>%1: not a WAV file with a 44-byte header: %2</translation>
    </message>
    <message>
        <source>%1의 크기를 읽을 수 없습니다</source>
        <translation>cannot read the size of %1</translation>
    </message>
    <message>
        <source>%1에 쓸 수 없습니다: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>파일이 너무 짧아 WAV 파일이 아닙니다</source>
        <translation>the file is too short to be a WAV file</translation>
    </message>
    <message>
        <source>WAV 파일이 아닙니다 (RIFF/WAVE 머리말 없음)</source>
        <translation>not a WAV file (no RIFF/WAVE header)</translation>
    </message>
    <message>
        <source>fmt 청크가 너무 짧습니다</source>
        <translation>the format chunk is too short</translation>
    </message>
    <message>
        <source>PCM 소리가 아닙니다 (형식 %1), 16비트 PCM을 쓰십시오</source>
        <translation>not PCM audio (format %1), use 16-bit PCM</translation>
    </message>
    <message>
        <source>모노가 아닙니다 (채널 %1개)</source>
        <translation>not mono (%1 channels)</translation>
    </message>
    <message>
        <source>8000 Hz가 아닙니다 (%1 Hz)</source>
        <translation>not 8000 Hz (%1 Hz)</translation>
    </message>
    <message>
        <source>16비트 샘플이 아닙니다 (%1비트)</source>
        <translation>not 16-bit samples (%1 bits)</translation>
    </message>
    <message>
        <source>data 청크가 fmt 청크보다 앞에 있습니다</source>
        <translation>the data chunk comes before any format chunk</translation>
    </message>
    <message>
        <source>data 청크가 없습니다</source>
        <translation>no data chunk</translation>
    </message>
    <message>
        <source>fmt 청크가 없습니다</source>
        <translation>no format chunk</translation>
    </message>
</context>
<context>
    <name>tyctl</name>
    <message>
        <source>Ctrl+C까지 모든 회선 이벤트를 출력합니다</source>
        <translation>print every line event until Ctrl+C</translation>
    </message>
    <message>
        <source>회선을 잡습니다</source>
        <translation>take the line</translation>
    </message>
    <message>
        <source>전화를 끊습니다</source>
        <translation>hang up</translation>
    </message>
    <message>
        <source>잡은 회선에 DTMF 숫자(0-9 * # A-D)를 보냅니다</source>
        <translation>dial DTMF digits (0-9 * # A-D) on the held line</translation>
    </message>
    <message>
        <source>후크 플래시(기본 600 ms)</source>
        <translation>hook flash (default 600 ms)</translation>
    </message>
    <message>
        <source>음소거를 켜고 끕니다</source>
        <translation>toggle mute</translation>
    </message>
    <message>
        <source>회선 음량을 한 단계 바꿉니다</source>
        <translation>one line volume step</translation>
    </message>
    <message>
        <source>회선 상태 워드와 후크 상태를 출력합니다</source>
        <translation>print the line status word and hook state</translation>
    </message>
    <message>
        <source>기다리는 발신자 번호 메시지를 읽습니다</source>
        <translation>read a waiting caller-ID message</translation>
    </message>
    <message>
        <source>어댑터의 하드웨어와 펌웨어 버전을 출력합니다</source>
        <translation>print the adapter&apos;s hardware and firmware versions</translation>
    </message>
    <message>
        <source>일련번호를 출력하거나 N으로 설정합니다</source>
        <translation>print the serial number, or set it to N</translation>
    </message>
    <message>
        <source>헤드셋 모드: 1 TEL, 2 DSP</source>
        <translation>headset mode: 1 TEL, 2 DSP</translation>
    </message>
    <message>
        <source>8 kHz 16비트 모노 WAV 파일을 압축합니다(RATE 0 가장 큰 .. 2 가장 작은 프레임, 기본 0; SILENCE 1은 무음 구간을 씁니다, 기본값)</source>
        <translation>compress an 8 kHz 16-bit mono WAV file (RATE 0 largest .. 2 smallest frames, default 0; SILENCE 1 writes silence runs, the default)</translation>
    </message>
    <message>
        <source>압축 녹음을 16비트 PCM WAV로 풉니다</source>
        <translation>decode a compressed recording to 16-bit PCM WAV</translation>
    </message>
    <message>
        <source>압축 녹음을 mu-law WAV로 풉니다</source>
        <translation>decode a compressed recording to mu-law WAV</translation>
    </message>
    <message>
        <source>Enter 또는 Ctrl+C까지 회선을 녹음합니다(TYPE 0 mu-law WAV, 기본값; 1, 2, 3 압축, 큰 프레임에서 작은 프레임 순)</source>
        <translation>record the line until Enter or Ctrl+C (TYPE 0 mu-law WAV, the default; 1, 2, 3 compressed, largest to smallest frames)</translation>
    </message>
    <message>
        <source>WAV 파일을 회선으로 재생합니다(raw: 압축 녹음)</source>
        <translation>play a WAV file into the line (raw: a compressed recording)</translation>
    </message>
    <message>
        <source>WAV 파일을 바이트 위치부터 재생합니다; Enter로 멈추고 다시 재생합니다</source>
        <translation>play a WAV file from a byte offset; Enter pauses and resumes</translation>
    </message>
    <message>
        <source>회선을 잡고 겁니다(내선 접두 번호 뒤에)</source>
        <translation>take the line and dial (after an extension-line prefix)</translation>
    </message>
    <message>
        <source>tyctl autodial이 마지막으로 건 번호를 다시 겁니다</source>
        <translation>dial again what tyctl autodial dialled last</translation>
    </message>
    <message>
        <source>안내를 재생하고 TERM으로 끝나는 키를 KEYS개까지 받습니다</source>
        <translation>play a prompt and collect up to KEYS keys ended by TERM</translation>
    </message>
    <message>
        <source>펌웨어 이미지를 내려받습니다(최대 7500바이트)</source>
        <translation>download a firmware image (at most 7500 bytes)</translation>
    </message>
    <message>
        <source>충돌로 끝나지 못한 WAV 파일의 길이를 맞춥니다</source>
        <translation>set the lengths of a WAV file a crash left unfinished</translation>
    </message>
    <message>
        <source>사용법: tyctl 명령 [인수]
</source>
        <translation>usage: tyctl COMMAND [ARGS]
</translation>
    </message>
    <message>
        <source>tyctl: 알 수 없는 명령 &apos;%1&apos; (tyctl help가 명령을 보여 줍니다)
</source>
        <translation>tyctl: unknown command &apos;%1&apos; (tyctl help lists them)
</translation>
    </message>
    <message>
        <source>찾은 어댑터(경로, 종류, VID:PID, 열 수 있는지)를 출력하거나 adapters.conf의 udev 규칙을 출력합니다</source>
        <translation>list the adapters found (path, kind, VID:PID, whether it opens), or print the udev rule for adapters.conf</translation>
    </message>
    <message>
        <source>사용법: tyctl %1</source>
        <translation>usage: tyctl %1</translation>
    </message>
    <message>
        <source>어댑터가 없습니다: %1</source>
        <translation>no adapter found: %1</translation>
    </message>
    <message>
        <source>어댑터가 없습니다</source>
        <translation>no adapter found</translation>
    </message>
    <message>
        <source>%1이(가) 거부되었습니다 (회선이 재생, 녹음 또는 다이얼 중입니다)</source>
        <translation>%1 refused (the line is busy playing, recording or dialling)</translation>
    </message>
    <message>
        <source>%1이(가) 중단되었습니다</source>
        <translation>%1 interrupted</translation>
    </message>
    <message>
        <source>어댑터를 열 수 없습니다</source>
        <translation>the adapter cannot be opened</translation>
    </message>
    <message>
        <source>녹음이 거부되었습니다 (회선이 재생, 녹음 또는 다이얼 중이거나, 경로가 4자보다 짧거나 259자보다 깁니다)</source>
        <translation>record refused (the line is busy playing, recording or dialling, or the path is shorter than 4 or longer than 259 characters)</translation>
    </message>
    <message>
        <source>%1에 녹음합니다; Enter나 Ctrl+C로 끝냅니다</source>
        <translation>recording to %1; Enter or Ctrl+C ends it</translation>
    </message>
    <message>
        <source>회선이 녹음을 끝냈습니다 (훅 변화나 파일 오류)</source>
        <translation>the recording was ended by the line (hook change or a file error)</translation>
    </message>
    <message>
        <source>Enter로 멈추고 다시 재생하며, Ctrl+C로 끝냅니다</source>
        <translation>Enter pauses and resumes, Ctrl+C stops</translation>
    </message>
    <message>
        <source>playsub이 %1에서 멈췄습니다</source>
        <translation>playsub stopped at %1</translation>
    </message>
    <message>
        <source>다시 재생이 거부되었습니다</source>
        <translation>resume refused</translation>
    </message>
    <message>
        <source>%1에서 멈췄습니다; Enter로 다시 재생합니다</source>
        <translation>paused at %1; Enter resumes</translation>
    </message>
    <message>
        <source>다이얼이 거부되었습니다 (회선이 잡혀 있거나 사용 중이거나, 번호가 비었거나 48자리보다 길거나, 내선이 10자리보다 깁니다)</source>
        <translation>dialling refused (the line is held or busy, or the number is empty or longer than 48 digits, the extension longer than 10)</translation>
    </message>
    <message>
        <source>다이얼하지 못했습니다</source>
        <translation>dialling failed</translation>
    </message>
    <message>
        <source>재다이얼할 번호가 없습니다: tyctl이 아직 autodial로 건 적이 없습니다</source>
        <translation>nothing to redial: tyctl has not dialled with autodial yet</translation>
    </message>
    <message>
        <source>이미지가 없거나 7500바이트보다 큽니다</source>
        <translation>the image is missing or larger than 7500 bytes</translation>
    </message>
    <message>
        <source>어댑터가 내려받기를 거부했습니다</source>
        <translation>the adapter refused the download</translation>
    </message>
    <message>
        <source>어댑터가 이미지 전체를 받지 않았습니다</source>
        <translation>the adapter did not take the whole image</translation>
    </message>
    <message>
        <source>회선 라이브러리의 서비스를 시작할 수 없습니다</source>
        <translation>cannot start the line library&apos;s service</translation>
    </message>
    <message>
        <source>%1이(가) 거부되었습니다 (경로가 511바이트보다 깁니까?)</source>
        <translation>%1 was refused (a path longer than 511 bytes?)</translation>
    </message>
    <message>
        <source>%1 실패: 어댑터가 없어졌습니다 (뽑혔거나, 그 데몬이 멈췄거나 응답하지 않습니다)</source>
        <translation>%1 failed: the adapter is gone (unplugged, or its daemon stopped or hangs)</translation>
    </message>
    <message>
        <source>어댑터가 %1을(를) 거부했거나 실패했습니다</source>
        <translation>%1 refused or failed by the adapter</translation>
    </message>
    <message>
        <source>&apos;%1&apos;은(는) DTMF 키가 아닙니다 (0-9 * # A-D)</source>
        <translation>&apos;%1&apos; is not a DTMF key (0-9 * # A-D)</translation>
    </message>
    <message>
        <source>숫자 &apos;%1&apos; 앞에서 멈췄습니다</source>
        <translation>stopped before digit &apos;%1&apos;</translation>
    </message>
    <message>
        <source>숫자 &apos;%1&apos;이(가) 거부되었거나 실패했습니다 (회선을 잡았습니까?)</source>
        <translation>digit &apos;%1&apos; refused or failed (is the line off-hook?)</translation>
    </message>
    <message>
        <source>기다리는 발신자 번호 메시지가 없습니다</source>
        <translation>no caller-ID message waiting</translation>
    </message>
    <message>
        <source>발신자 번호 메시지에 날짜가 없습니다</source>
        <translation>the caller-ID message carried no date</translation>
    </message>
    <message>
        <source>열 수 있음</source>
        <translation>can be opened</translation>
    </message>
    <message>
        <source>열 수 없음</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>열 수 없음: %1</source>
        <translation>cannot be opened: %1</translation>
    </message>
    <message>
        <source>녹음 중 %1초, %2바이트</source>
        <translation>recording %1 s, %2 bytes</translation>
    </message>
    <message>
        <source>%2에 %1바이트를 녹음했습니다</source>
        <translation>recorded %1 bytes to %2</translation>
    </message>
    <message>
        <source>재생 중 %1초</source>
        <translation>playing %1 s</translation>
    </message>
    <message>
        <source>%1을(를) 재생했습니다</source>
        <translation>played %1</translation>
    </message>
    <message>
        <source>%2바이트 중 %1바이트를 재생했습니다</source>
        <translation>played %1 of %2 bytes</translation>
    </message>
    <message>
        <source>%1을(를) %2까지 재생했습니다</source>
        <translation>played %1 to %2</translation>
    </message>
    <message>
        <source>%1에 전화를 걸었습니다; 회선을 계속 잡고 있습니다</source>
        <translation>dialled %1; the line stays held</translation>
    </message>
    <message>
        <source>%2 다음에 %1에 전화를 걸었습니다; 회선을 계속 잡고 있습니다</source>
        <translation>dialled %1 after %2; the line stays held</translation>
    </message>
    <message>
        <source>누른 키가 없습니다 (안내가 없거나, 키를 읽지 못했거나, 아무도 키를 누르지 않았습니다)</source>
        <translation>no keys (prompt missing, key read failed, or nobody pressed the keys)</translation>
    </message>
    <message>
        <source>펌웨어를 보냈습니다 (%1바이트)</source>
        <translation>firmware sent (%1 bytes)</translation>
    </message>
    <message>
        <source>데이터 길이 %1 -&gt; %2</source>
        <translation>data length %1 -&gt; %2</translation>
    </message>
</context>
</TS>
