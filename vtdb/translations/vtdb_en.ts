<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
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
</context>
<context>
    <name>vtdb</name>
    <message>
        <source>%1에는 값이 %2개 필요합니다</source>
        <translation>%1 needs %2 value(s)</translation>
    </message>
    <message>
        <source>예상하지 못한 인수 &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--kind에는 탭 번호 0..6이 필요합니다</source>
        <translation>--kind needs a tab number 0..6</translation>
    </message>
    <message>
        <source>--search에는 종류 번호가 필요합니다</source>
        <translation>--search needs a kind number</translation>
    </message>
    <message>
        <source>--index에는 번호 0..14가 필요합니다</source>
        <translation>--index needs a number 0..14</translation>
    </message>
    <message>
        <source>lookup에는 번호 하나가 필요합니다</source>
        <translation>lookup needs one NUMBER</translation>
    </message>
    <message>
        <source>add-contact에는 필드=값 인수가 필요합니다</source>
        <translation>add-contact needs FIELD=VALUE arguments</translation>
    </message>
    <message>
        <source>&apos;%1&apos;은(는) 연락처 필드의 필드=값이 아닙니다</source>
        <translation>&apos;%1&apos; is not FIELD=VALUE with a contact field</translation>
    </message>
    <message>
        <source>import-calls에는 파일.tsv 하나가 필요합니다</source>
        <translation>import-calls needs one FILE.tsv</translation>
    </message>
    <message>
        <source>recover에는 새 파일 이름 하나가 필요합니다</source>
        <translation>recover needs one DEST file name</translation>
    </message>
    <message>
        <source>backup에는 폴더 하나가 필요합니다</source>
        <translation>backup needs one DEST folder</translation>
    </message>
    <message>
        <source>block add에는 패턴 하나가 필요합니다</source>
        <translation>block add needs one PATTERN</translation>
    </message>
    <message>
        <source>--action은 --permit과 함께 쓸 수 없습니다: 허용 규칙은 전화를 받아들입니다</source>
        <translation>--action cannot go with --permit: a permit rule lets the call through</translation>
    </message>
    <message>
        <source>--action에는 hangup, ignore 또는 greeting이 필요합니다</source>
        <translation>--action needs hangup, ignore or greeting</translation>
    </message>
    <message>
        <source>block remove에는 패턴 하나가 필요합니다</source>
        <translation>block remove needs one PATTERN</translation>
    </message>
    <message>
        <source>block에는 add, list 또는 remove가 필요합니다</source>
        <translation>block needs add, list or remove</translation>
    </message>
    <message>
        <source>알 수 없는 명령 &apos;%1&apos;</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--heard에는 메시지 번호(&apos;vtdb messages&apos;의 첫 열) 또는 all이 필요합니다. &apos;%1&apos;은(는) 아닙니다</source>
        <translation>--heard needs a message number (the first column of &apos;vtdb messages&apos;) or all, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>사용법: vtdb calls [--kind 탭] [--search 종류 글자]
       vtdb contacts [--index N] [--group 그룹] [--search 종류 글자] [--inner]
       vtdb lookup 번호 [--ext 코드]
       vtdb add-contact [--inner] 필드=값...
       vtdb import-calls 파일.tsv
       vtdb check
       vtdb recover 새파일
       vtdb backup 폴더
       vtdb block add 패턴 [--permit] [--action hangup|ignore|greeting] [--note 메모]
       vtdb block list
       vtdb block remove 패턴
       vtdb mail-test
       vtdb messages [--heard 번호|all]
       vtdb sync
</source>
        <translation>usage: vtdb calls [--kind TAB] [--search KIND TEXT]
       vtdb contacts [--index N] [--group G] [--search KIND TEXT] [--inner]
       vtdb lookup NUMBER [--ext CODE]
       vtdb add-contact [--inner] FIELD=VALUE...
       vtdb import-calls FILE.tsv
       vtdb check
       vtdb recover DEST
       vtdb backup DEST
       vtdb block add PATTERN [--permit] [--action hangup|ignore|greeting] [--note TEXT]
       vtdb block list
       vtdb block remove PATTERN
       vtdb mail-test
       vtdb messages [--heard ID|all]
       vtdb sync
</translation>
    </message>
    <message>
        <source>%1; 아무것도 가져오지 않았습니다</source>
        <translation>%1; nothing imported</translation>
    </message>
    <message>
        <source>; &apos;vtdb check&apos;로 파일을 검사하고, &apos;vtdb recover 새파일&apos;로 읽을 수 있는 내용을 저장합니다</source>
        <translation>; &apos;vtdb check&apos; examines the file, &apos;vtdb recover DEST&apos; saves what can be read</translation>
    </message>
    <message>
        <source>; &apos;vtdb recover 새파일&apos;로 레코드를 이 프로그램이 쓸 수 있는 새 파일에 옮깁니다</source>
        <translation>; &apos;vtdb recover DEST&apos; copies its records into a new file this program can use</translation>
    </message>
    <message>
        <source>%1; %2(으)로 옮겼습니다</source>
        <translation>%1; moved aside to %2</translation>
    </message>
    <message>
        <source>%1번째 줄에서 멈췄습니다; 아무것도 가져오지 않았습니다</source>
        <translation>stopped at line %1; nothing imported</translation>
    </message>
    <message>
        <source>통화 %1건을 읽었습니다</source>
        <translation>%1 calls read</translation>
    </message>
    <message>
        <source>%1을(를) 읽을 수 없습니다; 아무것도 가져오지 않았습니다</source>
        <translation>cannot read %1; nothing imported</translation>
    </message>
    <message>
        <source>%1에 잘못된 줄이 %2개 있습니다%3; 아무것도 가져오지 않았습니다</source>
        <translation>%2 bad line(s)%3 in %1; nothing imported</translation>
    </message>
    <message>
        <source> (처음 %1개만 보임)</source>
        <translation> (the first %1 shown)</translation>
    </message>
    <message>
        <source>%1을(를) 검사합니다 (파일 전체를 읽습니다)</source>
        <translation>checking %1 (reads the whole file)</translation>
    </message>
    <message>
        <source>%1이(가) 손상되었습니다 (위의 문제 %2개); &apos;vtdb recover 새파일&apos;로 읽을 수 있는 내용을 저장합니다</source>
        <translation>%1 is damaged (%2 findings above); &apos;vtdb recover DEST&apos; saves what can be read</translation>
    </message>
    <message>
        <source>%1은(는) 온전하지만 이 프로그램이 쓸 수 없습니다: %2</source>
        <translation>%1 is intact but this program cannot use it: %2</translation>
    </message>
    <message>
        <source>%1: 이상 없음</source>
        <translation>%1: intact</translation>
    </message>
    <message>
        <source>; 다음 시작 때 %1을(를) 더합니다</source>
        <translation>; the next start adds %1</translation>
    </message>
    <message>
        <source>%1: 지금까지 레코드 %2개를 옮겼습니다</source>
        <translation>%1: %2 records copied so far</translation>
    </message>
    <message>
        <source>%1; 아무것도 저장하지 않았습니다</source>
        <translation>%1; nothing saved</translation>
    </message>
    <message>
        <source>%1: 없음</source>
        <translation>%1: not found</translation>
    </message>
    <message>
        <source>%1: %2개 옮김, %3개 읽을 수 없음</source>
        <translation>%1: %2 copied, %3 could not be read</translation>
    </message>
    <message>
        <source>%1에 저장했습니다; 쓰려면 어떤 프로그램도 쓰지 않을 때 %2을(를) 치우고 저장한 파일을 그 자리에 두십시오</source>
        <translation>saved to %1; to use it, move %2 away and put the saved file in its place while no program uses it</translation>
    </message>
    <message>
        <source>멈췄습니다; %1에 통화 %3건 중 %2건이 있습니다</source>
        <translation>stopped; %1 holds %2 of %3 calls</translation>
    </message>
    <message>
        <source>백업이 완전하지 않습니다: %1</source>
        <translation>the backup is incomplete: %1</translation>
    </message>
    <message>
        <source> (외 %1건)</source>
        <translation> (and %1 more)</translation>
    </message>
    <message>
        <source>통화 %1건을 %2에 백업했습니다</source>
        <translation>%1 calls backed up to %2</translation>
    </message>
    <message>
        <source>%1 단계 실패: %2</source>
        <translation>%1 failed: %2</translation>
    </message>
    <message>
        <source>메일이 꺼져 있습니다: %1의 [Mail]에 Server가 없습니다</source>
        <translation>mail is off: no Server in [Mail] of %1</translation>
    </message>
    <message>
        <source>%2을(를) 거쳐 %1(으)로 보냈습니다</source>
        <translation>sent to %1 through %2</translation>
    </message>
    <message>
        <source>필드가 %1개입니다; %2개여야 합니다</source>
        <translation>%1 fields, %2 expected</translation>
    </message>
    <message>
        <source>%1의 이스케이프가 잘못되었습니다</source>
        <translation>bad escape in %1</translation>
    </message>
</context>
</TS>
