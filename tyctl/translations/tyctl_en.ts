<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
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
</context>
</TS>
