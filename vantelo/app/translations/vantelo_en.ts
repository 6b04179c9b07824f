<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>PromptInstaller</name>
    <message>
        <source>%1: 폴더를 만들 수 없습니다</source>
        <translation>%1: cannot create the folder</translation>
    </message>
</context>
<context>
    <name>callerid::text</name>
    <message>
        <source>발신자 표시 서버 설정이 잘못되었습니다: %1 (예: 127.0.0.1:3333). 서버 없이 계속합니다.</source>
        <translation>The caller ID server setting is not valid: %1 (for example 127.0.0.1:3333). Continuing without the server.</translation>
    </message>
    <message>
        <source>발신자 표시 서버를 %1에서 열 수 없습니다: %2. 서버 없이 계속합니다.</source>
        <translation>Cannot open the caller ID server on %1: %2. Continuing without the server.</translation>
    </message>
    <message>
        <source>발신자 표시 클라이언트 %1이(가) 읽지 않아 연결을 끊었습니다.</source>
        <translation>Caller ID client %1 was disconnected: it does not read its lines.</translation>
    </message>
    <message>
        <source>발신자 표시 클라이언트 %1을(를) 거절했습니다: 연결이 %2개를 넘습니다.</source>
        <translation>Caller ID client %1 was refused: more than %2 connections.</translation>
    </message>
</context>
<context>
    <name>directory</name>
    <message>
        <source>주소록 설정: Url &apos;%1&apos;은(는) http:// 또는 https:// 주소가 아닙니다</source>
        <translation>address book settings: Url &apos;%1&apos; is not an http:// or https:// address</translation>
    </message>
    <message>
        <source>주소록 설정: User에 제어 문자가 있습니다</source>
        <translation>address book settings: User has control characters</translation>
    </message>
    <message>
        <source>주소록 설정: SyncMinutes &apos;%1&apos;은(는) 1에서 1440 사이의 분이 아닙니다</source>
        <translation>address book settings: SyncMinutes &apos;%1&apos; is not a number of minutes from 1 to 1440</translation>
    </message>
    <message>
        <source>주소록 설정: Password 키는 읽지 않습니다. 비밀번호는 비밀 저장소나 PasswordFile이 가리키는 0600 파일에 두십시오</source>
        <translation>address book settings: a Password key is never read; put the password in the secret store or in a 0600 file named by PasswordFile</translation>
    </message>
    <message>
        <source>주소록 설정: 설정 파일 %1을(를) 읽을 수 없습니다</source>
        <translation>address book settings: the settings file %1 cannot be read</translation>
    </message>
    <message>
        <source>주소록 비밀번호를 찾을 수 없습니다: %1</source>
        <translation>no password for the address book: %1</translation>
    </message>
    <message>
        <source>추가됨(서버에서): %1</source>
        <translation>added (from the server): %1</translation>
    </message>
    <message>
        <source>변경됨(서버에서): %1</source>
        <translation>changed (from the server): %1</translation>
    </message>
    <message>
        <source>삭제됨(서버에서): %1</source>
        <translation>deleted (on the server): %1</translation>
    </message>
    <message>
        <source>서버에 추가함: %1</source>
        <translation>added to the server: %1</translation>
    </message>
    <message>
        <source>서버에 변경 보냄: %1</source>
        <translation>change sent to the server: %1</translation>
    </message>
    <message>
        <source>서버에서 삭제함: %1</source>
        <translation>deleted from the server: %1</translation>
    </message>
    <message>
        <source>양쪽에서 변경됨: %1 - 서버의 것을 두고 이 프로그램의 것은 &apos;%2&apos;(으)로 저장함</source>
        <translation>changed on both sides: %1 - the server&apos;s version kept, this program&apos;s saved as &apos;%2&apos;</translation>
    </message>
    <message>
        <source>서버에서 삭제되었지만 여기서 고친 연락처라 남겨 다시 보냄: %1</source>
        <translation>deleted on the server but edited here, so kept and sent again: %1</translation>
    </message>
    <message>
        <source>주소록 동기화: 받음 %1, 보냄 %2, 충돌 %3</source>
        <translation>address book sync: %1 received, %2 sent, %3 conflicts</translation>
    </message>
    <message>
        <source>주소록 동기화: 바뀐 것 없음</source>
        <translation>address book sync: nothing changed</translation>
    </message>
    <message>
        <source>주소록 서버에 연결할 수 없습니다: %1</source>
        <translation>cannot reach the address book server: %1</translation>
    </message>
    <message>
        <source>주소록 서버가 로그인을 거절했습니다(401): 사용자 %1의 비밀번호를 확인하십시오</source>
        <translation>the address book server refused the login (401): check the password of user %1</translation>
    </message>
    <message>
        <source>서버의 카드가 그 사이에 바뀌어 보내지 않았습니다(412): %1 - 다음 동기화에서 맞춥니다</source>
        <translation>not sent, the server&apos;s card changed meanwhile (412): %1 - the next sync reconciles it</translation>
    </message>
    <message>
        <source>vCard가 아닌 항목은 건너뜁니다: %1 (%2)</source>
        <translation>skipped a member that is not a vCard: %1 (%2)</translation>
    </message>
    <message>
        <source>주소록 서버 오류 %1: %2</source>
        <translation>address book server error %1: %2</translation>
    </message>
    <message>
        <source>주소록 서버의 응답을 읽을 수 없습니다: %1</source>
        <translation>cannot read the address book server&apos;s answer: %1</translation>
    </message>
    <message>
        <source>연락처 데이터베이스 오류: %1</source>
        <translation>contact database error: %1</translation>
    </message>
    <message>
        <source>주소록 동기화가 설정되지 않았습니다([CardDav] Url)</source>
        <translation>the address book sync is not set up ([CardDav] Url)</translation>
    </message>
    <message>
        <source>libcurl이 시작되지 않았습니다</source>
        <translation>libcurl did not start</translation>
    </message>
    <message>
        <source>제때 응답이 없습니다</source>
        <translation>no answer in time</translation>
    </message>
</context>
<context>
    <name>platform</name>
    <message>
        <source>소켓 경로가 너무 깁니다: %1</source>
        <translation>socket path too long: %1</translation>
    </message>
    <message>
        <source>소켓이 아닙니다: %1</source>
        <translation>not a socket: %1</translation>
    </message>
</context>
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
    <message>
        <source>디렉터리 조회를 쓸 수 없습니다: %1</source>
        <translation>The directory look-up cannot be used: %1</translation>
    </message>
    <message>
        <source>디렉터리 서버에 물을 수 없어 발신자 이름은 주소록에서만 찾습니다: %1</source>
        <translation>The directory server cannot be asked, so callers are named from the address book only: %1</translation>
    </message>
    <message>
        <source>key에는 0-9, *, # 중 하나가 필요합니다</source>
        <translation>key needs one of 0-9 * #</translation>
    </message>
    <message>
        <source>play에는 파일이 필요합니다</source>
        <translation>play needs a file</translation>
    </message>
    <message>
        <source>알 수 없는 동작: %1 (hook, key 숫자, number 텍스트, redial, flash, pickup, mute, record, play 파일, ars, memo 텍스트, sync, quit)</source>
        <translation>unknown action: %1 (hook, key D, number TEXT, redial, flash, pickup, mute, record, play FILE, ars, memo TEXT, sync, quit)</translation>
    </message>
    <message>
        <source>tel: 또는 callto: 링크가 아닙니다: %1</source>
        <translation>not a tel: or callto: link: %1</translation>
    </message>
    <message>
        <source>링크의 %-이스케이프가 잘못되었습니다: %1</source>
        <translation>broken %-escape in the link: %1</translation>
    </message>
    <message>
        <source>링크에 전화번호가 없습니다: %1</source>
        <translation>the link holds no telephone number: %1</translation>
    </message>
    <message>
        <source>번호가 %1자보다 깁니다</source>
        <translation>the number is longer than %1 characters</translation>
    </message>
    <message>
        <source>%1을(를) 시작할 수 없습니다</source>
        <translation>%1 cannot be started</translation>
    </message>
    <message>
        <source>%1: 전화를 받았습니다</source>
        <translation>%1: answered</translation>
    </message>
    <message>
        <source>%1: 벨이 멈췄습니다</source>
        <translation>%1: stopped ringing</translation>
    </message>
</context>
<context>
    <name>vantelo::MessageNotifier</name>
    <message>
        <source>새 메시지</source>
        <translation>New message</translation>
    </message>
    <message>
        <source>%1초</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1분 %2초</source>
        <translation>%1 min %2 s</translation>
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
        <source>공유 저장소에 연결할 수 없습니다</source>
        <translation>Cannot connect to the shared store</translation>
    </message>
    <message>
        <source>공유 저장소에 다시 연결되었습니다</source>
        <translation>Connected to the shared store again</translation>
    </message>
    <message>
        <source>공유 저장소에 연결할 수 없습니다. 연락처는 이 자리의 사본이며, 고친 내용은 다시 연결되면 옮깁니다</source>
        <translation>Cannot connect to the shared store. The contacts are this desk&apos;s copy; changes are passed on when it is connected again</translation>
    </message>
    <message>
        <source>서버에서 그사이 삭제된 연락처 &apos;%1&apos;의 변경은 적용하지 않았습니다</source>
        <translation>The change to contact &apos;%1&apos; was not applied: it was deleted on the server meanwhile</translation>
    </message>
</context>
</TS>
