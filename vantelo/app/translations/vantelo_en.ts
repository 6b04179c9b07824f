<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>vantelo</name>
    <message>
        <source>사용법: vantelo [--headless] | tel:번호 | callto:번호 | --dial 번호 | --hangup
</source>
        <translation>usage: vantelo [--headless] | tel:NUMBER | callto:NUMBER | --dial NUMBER | --hangup
</translation>
    </message>
    <message>
        <source>vantelo: 번호가 %1자보다 깁니다
</source>
        <translation>vantelo: the number is longer than %1 characters
</translation>
    </message>
</context>
<context>
    <name>vantelo::text</name>
    <message>
        <source>이미 프로그램이 실행중입니다.</source>
        <translation>The program is already running.</translation>
    </message>
    <message>
        <source>장치가 연결되었습니다.</source>
        <translation>The device is connected.</translation>
    </message>
    <message>
        <source>Vantelo Removed!!</source>
        <translation>Vantelo Removed!!</translation>
    </message>
    <message>
        <source>전화를 사용중입니다.

프로그램을 종료하시겠습니까?</source>
        <translation>The phone is in use.

Do you want to quit the program?</translation>
    </message>
    <message>
        <source>전화가 왔습니다.</source>
        <translation>Incoming call.</translation>
    </message>
    <message>
        <source>통화 상태입니다.</source>
        <translation>In a call.</translation>
    </message>
    <message>
        <source>통화가 연결되었습니다.</source>
        <translation>The call is connected.</translation>
    </message>
    <message>
        <source>연결이 끊어졌습니다.</source>
        <translation>The line was disconnected.</translation>
    </message>
    <message>
        <source>상대방이 통화중입니다.</source>
        <translation>The other party is busy.</translation>
    </message>
    <message>
        <source>전화 걸기에 실패했습니다.</source>
        <translation>Dialling failed.</translation>
    </message>
    <message>
        <source>재생중입니다.</source>
        <translation>Playing.</translation>
    </message>
    <message>
        <source>녹음중입니다.</source>
        <translation>Recording.</translation>
    </message>
    <message>
        <source>장치가 제거되었습니다.</source>
        <translation>The device was removed.</translation>
    </message>
    <message>
        <source>통화중에만 재생이 가능합니다.</source>
        <translation>Playback is possible only during a call.</translation>
    </message>
    <message>
        <source>AutoDial중입니다. 다시 시도 해주십시요.</source>
        <translation>Auto-dialling is in progress. Please try again.</translation>
    </message>
    <message>
        <source>Recording중입니다.</source>
        <translation>Recording is in progress.</translation>
    </message>
    <message>
        <source>부재중 설정을 해제해 주세요.</source>
        <translation>Please turn off the answering machine.</translation>
    </message>
    <message>
        <source>환경설정에 부재중 설정이 되어 있지 않습니다.</source>
        <translation>The answering machine is not set up in the settings.</translation>
    </message>
    <message>
        <source>환경설정에 부재중 설정파일이 없습니다.</source>
        <translation>The settings name no greeting file for the answering machine.</translation>
    </message>
    <message>
        <source>안내멘트를 재생중입니다.</source>
        <translation>Playing the greeting.</translation>
    </message>
    <message>
        <source>재생할 파일을 찾을 수 없습니다.</source>
        <translation>The file to play cannot be found.</translation>
    </message>
    <message>
        <source>통화 기록을 저장하지 못했습니다.</source>
        <translation>The call could not be saved in the call log.</translation>
    </message>
    <message>
        <source>number too long</source>
        <translation>number too long</translation>
    </message>
    <message>
        <source>중단된 통화를 통화 기록에 남겼습니다.</source>
        <translation>An interrupted call was added to the call log.</translation>
    </message>
    <message>
        <source>통화 기록에 없는 녹음 파일이 있습니다.</source>
        <translation>There are recordings that are not in the call log.</translation>
    </message>
    <message>
        <source>공유 데이터베이스를 열 수 없습니다.</source>
        <translation>The shared database cannot be opened.</translation>
    </message>
    <message>
        <source>DatabaseUrl에 암호가 들어 있어 쓰지 않습니다. 암호는 ~/.pgpass에 두십시오.</source>
        <translation>DatabaseUrl contains a password, so it is not used. Keep the password in ~/.pgpass.</translation>
    </message>
    <message>
        <source>공유 데이터베이스가 이 프로그램보다 새 형식이라 열지 않습니다. 프로그램을 새로 설치하십시오.</source>
        <translation>The shared database has a newer format than this program, so it is not opened. Please install the new version of the program.</translation>
    </message>
    <message>
        <source>공유 저장소에 연결할 수 없습니다</source>
        <translation>Cannot connect to the shared store</translation>
    </message>
    <message>
        <source>공유 데이터베이스를 읽기 전용으로 열었습니다(쓰기 권한 없음).</source>
        <translation>The shared database was opened read-only (no write rights).</translation>
    </message>
    <message>
        <source>공유 데이터베이스에 pg_trgm 확장이 없어 통화내역 검색이 느립니다.</source>
        <translation>The shared database has no pg_trgm extension, so call log search is slow.</translation>
    </message>
</context>
</TS>
