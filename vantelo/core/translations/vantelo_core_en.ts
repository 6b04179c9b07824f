<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>CRSBlockList</name>
    <message>
        <source>%1에 대한 규칙이 이미 있습니다</source>
        <translation>a rule for %1 exists already</translation>
    </message>
    <message>
        <source>%1에 대한 규칙이 없습니다</source>
        <translation>no rule for %1</translation>
    </message>
</context>
<context>
    <name>CRSCallList</name>
    <message>
        <source>통화내역 DB가 찼습니다. 데이터를 정리해 주시기 바랍니다.</source>
        <translation>The call log database is full. Please clear out old calls.</translation>
    </message>
    <message>
        <source>통화 기록이 열려 있지 않습니다</source>
        <translation>the call log is not open</translation>
    </message>
    <message>
        <source>날짜 검색에는 YYMMDD 여섯 자리가 필요합니다: &apos;%1&apos;</source>
        <translation>a date search needs six digits YYMMDD, got &apos;%1&apos;</translation>
    </message>
    <message>
        <source>그런 날짜가 없습니다: %1</source>
        <translation>no such day: %1</translation>
    </message>
    <message>
        <source>다른 프로그램이 통화 기록을 바꾸어 아무것도 지우지 않았습니다</source>
        <translation>another program changed the call log; nothing was deleted</translation>
    </message>
</context>
<context>
    <name>CallKind</name>
    <message>
        <source>발신</source>
        <translation>Out</translation>
    </message>
    <message>
        <source>수신</source>
        <translation>In</translation>
    </message>
    <message>
        <source>부재</source>
        <translation>Miss</translation>
    </message>
    <message>
        <source>응답</source>
        <translation>Msg</translation>
    </message>
    <message>
        <source>녹음</source>
        <translation>Rec</translation>
    </message>
    <message>
        <source>차단</source>
        <translation>Block</translation>
    </message>
</context>
<context>
    <name>CallLogBackup</name>
    <message>
        <source>%1에 쓸 수 없습니다: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>폴더 %1을(를) 만들 수 없습니다: %2</source>
        <translation>cannot create the folder %1: %2</translation>
    </message>
    <message>
        <source>%1은(는) 폴더가 아닙니다</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>%1을(를) 만들 수 없습니다: %2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>녹음 %1을(를) 복사할 수 없습니다: %2</source>
        <translation>cannot copy the recording %1: %2</translation>
    </message>
    <message>
        <source>통화 %1을(를) 읽을 수 없습니다: %2</source>
        <translation>cannot read call %1: %2</translation>
    </message>
    <message>
        <source>통화 기록을 읽을 수 없습니다: %1</source>
        <translation>cannot read the call log: %1</translation>
    </message>
</context>
<context>
    <name>MessageInbox</name>
    <message>
        <source>메시지 %1이(가) 없습니다</source>
        <translation>no message %1</translation>
    </message>
    <message>
        <source>메시지 %1이(가) 없습니다: 녹음이 사라졌습니다</source>
        <translation>no message %1: its recording is gone</translation>
    </message>
</context>
<context>
    <name>PlayableRecording</name>
    <message>
        <source>이 통화에는 녹음이 없습니다.</source>
        <translation>This call has no recording.</translation>
    </message>
    <message>
        <source>녹음 파일이 없습니다: %1</source>
        <translation>The recording file is missing: %1</translation>
    </message>
    <message>
        <source>공유 데이터베이스에서 녹음을 가져올 수 없습니다: %1</source>
        <translation>Cannot fetch the recording from the shared database: %1</translation>
    </message>
    <message>
        <source>녹음이 이 PC에 없고 공유 데이터베이스에도 아직 없습니다: %1</source>
        <translation>The recording is neither on this PC nor in the shared database yet: %1</translation>
    </message>
</context>
<context>
    <name>Screening</name>
    <message>
        <source>패턴이 비어 있습니다</source>
        <translation>the pattern is empty</translation>
    </message>
    <message>
        <source>패턴이 %1자보다 깁니다</source>
        <translation>the pattern is longer than %1 characters</translation>
    </message>
    <message>
        <source>패턴에는 숫자, * 와 ? 만 쓸 수 있습니다 (또는 withheld, unknown): %1</source>
        <translation>the pattern may hold only digits, * and ? (or be withheld or unknown): %1</translation>
    </message>
</context>
<context>
    <name>VanteloDatabase</name>
    <message>
        <source>데이터베이스 파일을 읽을 수 없어 %1(으)로 옮기고 새 파일을 만들었습니다.</source>
        <translation>The database file could not be read; it was moved to %1 and a new file was made.</translation>
    </message>
    <message>
        <source>데이터베이스 파일 %1이(가) 손상되어 그대로 두었습니다. &apos;vtdb check&apos;로 검사하고 &apos;vtdb recover 새파일&apos;로 읽을 수 있는 내용을 옮기십시오.</source>
        <translation>The database file %1 is damaged and was left as it is. Check it with &apos;vtdb check&apos; and move what can be read with &apos;vtdb recover NEWFILE&apos;.</translation>
    </message>
    <message>
        <source>데이터베이스 파일 %1은(는) 이 프로그램이 쓸 수 없는 형식이라 그대로 두었습니다: %2</source>
        <translation>The database file %1 has a format this program cannot use and was left as it is: %2</translation>
    </message>
    <message>
        <source>데이터베이스 파일 %1에 쓸 수 없습니다(읽기 전용): %2</source>
        <translation>Cannot write the database file %1 (read-only): %2</translation>
    </message>
    <message>
        <source>데이터베이스 파일 %1을(를) 열 수 없습니다: %2</source>
        <translation>Cannot open the database file %1: %2</translation>
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
    <name>notify</name>
    <message>
        <source>다른 Vantelo 프로그램이 보낼 편지함 %1을(를) 보내는 중입니다; 끝나기를 기다립니다</source>
        <translation>another Vantelo program is delivering the outbox %1; waiting for it</translation>
    </message>
    <message>
        <source>%1; 두 번 보내지 않도록 보내기를 멈춥니다</source>
        <translation>%1; delivery stops to avoid sending it twice</translation>
    </message>
    <message>
        <source>%1에서 %2에 온 메시지를 보냈습니다</source>
        <translation>the message from %1 at %2 was sent</translation>
    </message>
    <message>
        <source>%2이(가) %1(으)로 로그인하는 것을 거부했습니다: %3</source>
        <translation>login as %1 refused by %2: %3</translation>
    </message>
    <message>
        <source>%1(으)로 보냈습니다</source>
        <translation>sent to %1</translation>
    </message>
    <message>
        <source>%1(으)로 보내기를 멈췄습니다</source>
        <translation>sending to %1 stopped</translation>
    </message>
    <message>
        <source>%1의 서버 이름을 찾을 수 없습니다 (%2)</source>
        <translation>the server name in %1 cannot be found (%2)</translation>
    </message>
    <message>
        <source>%1에 연결할 수 없습니다 (%2)</source>
        <translation>no connection to %1 (%2)</translation>
    </message>
    <message>
        <source>%1와(과)의 TLS가 실패했습니다: %2</source>
        <translation>TLS with %1 failed: %2</translation>
    </message>
    <message>
        <source>%1이(가) %2 안에 응답하지 않았습니다%3</source>
        <translation>no answer from %1 within %2%3</translation>
    </message>
    <message>
        <source> (%1 다음)</source>
        <translation> (after %1)</translation>
    </message>
    <message>
        <source>%1이(가) 응답을 멈췄습니다 (%2 다음; 모두 %3)</source>
        <translation>%1 stopped answering (after %2; %3 in all)</translation>
    </message>
    <message>
        <source>첨부 파일을 읽을 수 없습니다 (%1)</source>
        <translation>the attachment cannot be read (%1)</translation>
    </message>
    <message>
        <source>%1이(가) 메시지를 거부했습니다: %2</source>
        <translation>%1 refused the message: %2</translation>
    </message>
    <message>
        <source>%2이(가) 받는 사람 %1을(를) 거부했습니다: %3</source>
        <translation>recipient %1 refused by %2: %3</translation>
    </message>
    <message>
        <source>%2이(가) 보내는 사람 %1을(를) 거부했습니다: %3</source>
        <translation>sender %1 refused by %2: %3</translation>
    </message>
    <message>
        <source>%1이(가) STARTTLS를 거부했습니다: %2</source>
        <translation>%1 refused STARTTLS: %2</translation>
    </message>
    <message>
        <source>%1이(가) 연결을 거부했습니다: %2</source>
        <translation>%1 refused the connection: %2</translation>
    </message>
    <message>
        <source>%1이(가) 메시지를 받기 전에 연결을 끝냈습니다 (%2)</source>
        <translation>%1 ended the connection before accepting the message (%2)</translation>
    </message>
    <message>
        <source>%1이(가) 인사 없이 연결을 닫았습니다 (%2)</source>
        <translation>%1 closed the connection without greeting (%2)</translation>
    </message>
    <message>
        <source>%1(으)로 보내지 못했습니다: %2</source>
        <translation>sending to %1 failed: %2</translation>
    </message>
    <message>
        <source>%1 (설정 파일 %2, [Mail])</source>
        <translation>%1 (settings file %2, [Mail])</translation>
    </message>
    <message>
        <source>Server &apos;%1&apos;은(는) smtp://호스트:포트 또는 smtps://호스트:포트가 아닙니다</source>
        <translation>Server &apos;%1&apos; is not smtp://host:port or smtps://host:port</translation>
    </message>
    <message>
        <source>From이 비어 있습니다</source>
        <translation>From is empty</translation>
    </message>
    <message>
        <source>From &apos;%1&apos;은(는) 메일 주소가 아닙니다</source>
        <translation>From &apos;%1&apos; is not an e-mail address</translation>
    </message>
    <message>
        <source>To &apos;%1&apos;은(는) 메일 주소가 아닙니다</source>
        <translation>To &apos;%1&apos; is not an e-mail address</translation>
    </message>
    <message>
        <source>To가 비어 있습니다</source>
        <translation>To is empty</translation>
    </message>
    <message>
        <source>User에 제어 문자가 있습니다</source>
        <translation>User has control characters</translation>
    </message>
    <message>
        <source>Attach &apos;%1&apos;은(는) mp3, wav, none 중 하나가 아닙니다</source>
        <translation>Attach &apos;%1&apos; is not mp3, wav or none</translation>
    </message>
    <message>
        <source>Password 키는 읽지 않습니다. 비밀번호는 비밀 저장소나 PasswordFile이 가리키는 0600 파일에 두십시오</source>
        <translation>a Password key is never read: put the password in the secret store or in a 0600 file named by PasswordFile</translation>
    </message>
    <message>
        <source>설정 파일 %1을(를) 읽을 수 없습니다</source>
        <translation>the settings file %1 cannot be read</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1은(는) 심볼릭 링크입니다: PasswordFile에 파일 자체를 적으십시오</source>
        <translation>the password file %1 is a symbolic link: name the file itself in PasswordFile</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1을(를) 읽을 수 없습니다: %2</source>
        <translation>the password file %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1을(를) 읽을 수 없습니다</source>
        <translation>the password file %1 cannot be read</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1은(는) 일반 파일이 아닙니다</source>
        <translation>the password file %1 is not a regular file</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1은(는) 다른 사용자의 것입니다: 모드 0600인 자기 파일을 쓰십시오</source>
        <translation>the password file %1 belongs to another user: use a file of your own with mode 0600</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1을(를) 다른 사람이 읽을 수 있습니다 (모드 %2): chmod 600 %1을(를) 실행하십시오</source>
        <translation>the password file %1 may be read by others (mode %2): run chmod 600 %1</translation>
    </message>
    <message>
        <source>비밀번호 파일 %1이(가) 비어 있습니다: 첫 줄에 비밀번호를 적으십시오</source>
        <translation>the password file %1 is empty: put the password on its first line</translation>
    </message>
    <message>
        <source>%1의 비밀번호가 없습니다: secret-tool store --label=&apos;%2&apos; server %3 user %1(으)로 저장하거나, PasswordFile에 모드 0600인 파일을 적으십시오</source>
        <translation>no password for %1: store it with secret-tool store --label=&apos;%2&apos; server %3 user %1, or name a file of mode 0600 in PasswordFile</translation>
    </message>
    <message>
        <source>첨부 파일을 쓸 수 없습니다: %1</source>
        <translation>the attachment cannot be written: %1</translation>
    </message>
    <message>
        <source>녹음 %1을(를) 읽을 수 없습니다</source>
        <translation>the recording %1 cannot be read</translation>
    </message>
    <message>
        <source>녹음 %1을(를) 읽을 수 없습니다: %2</source>
        <translation>the recording %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>첨부 파일을 만들 수 없습니다: %1</source>
        <translation>the attachment cannot be created: %1</translation>
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
        <source>변환한 WAV를 쓸 수 없습니다 (디스크가 가득 찼습니까?)</source>
        <translation>the decoded WAV cannot be written (disk full?)</translation>
    </message>
    <message>
        <source>변환에 실패했습니다</source>
        <translation>decoding failed</translation>
    </message>
    <message>
        <source>녹음 %1이(가) 없습니다</source>
        <translation>the recording %1 is missing</translation>
    </message>
    <message>
        <source>MP3를 만들 수 없습니다: %1</source>
        <translation>the MP3 cannot be made: %1</translation>
    </message>
    <message>
        <source>배달 스레드를 시작할 수 없습니다</source>
        <translation>the delivery thread cannot be started</translation>
    </message>
    <message>
        <source>%1에 모르는 번호에서 온 메시지</source>
        <translation>the message from an unknown number at %1</translation>
    </message>
    <message>
        <source>%2에 %1에서 온 메시지</source>
        <translation>the message from %1 at %2</translation>
    </message>
    <message>
        <source>%1을(를) 보낼 편지함 %2에 넣을 수 없습니다: %3</source>
        <translation>%1 cannot be put in the outbox %2: %3</translation>
    </message>
    <message>
        <source>보낼 편지함 폴더 %1을(를) 만들 수 없습니다</source>
        <translation>the outbox folder %1 cannot be made</translation>
    </message>
    <message>
        <source>항목을 쓸 수 없습니다 (디스크가 가득 찼습니까?)</source>
        <translation>the item cannot be written (disk full?)</translation>
    </message>
    <message>
        <source>보낸 항목 %1을(를) 지울 수 없습니다: %2</source>
        <translation>the sent item %1 cannot be removed: %2</translation>
    </message>
    <message>
        <source>%1초</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>libcurl을 시작할 수 없습니다</source>
        <translation>libcurl cannot start</translation>
    </message>
    <message>
        <source>메모리가 부족합니다</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>첨부 파일 %1을(를) 읽을 수 없습니다</source>
        <translation>the attachment %1 cannot be read</translation>
    </message>
</context>
<context>
    <name>storage</name>
    <message>
        <source>파일이나 그 폴더에 쓸 수 없어 읽기 전용으로 열렸습니다</source>
        <translation>the file or its folder cannot be written, so it is open read-only</translation>
    </message>
    <message>
        <source>쓸 수 없는 데이터베이스 %1을(를) 옮겨 둘 수 없습니다: %2</source>
        <translation>cannot move the unusable database %1 aside: %2</translation>
    </message>
    <message>
        <source>%1은(는) 바꾸지 않고 두었습니다: %2</source>
        <translation>%1 is kept unchanged: %2</translation>
    </message>
    <message>
        <source>%1은(는) 읽기 전용이고 %2이(가) 없습니다</source>
        <translation>%1 is read-only and lacks %2</translation>
    </message>
    <message>
        <source>%1은(는) 파일이 아닙니다</source>
        <translation>%1 is not a file</translation>
    </message>
    <message>
        <source>%1; 이 프로그램은 이 파일을 쓸 수 없습니다</source>
        <translation>%1; this program cannot use the file</translation>
    </message>
    <message>
        <source>이 프로그램의 데이터베이스가 아닙니다: %1</source>
        <translation>not a database of this program: %1</translation>
    </message>
    <message>
        <source>%1에 데이터베이스가 없습니다</source>
        <translation>there is no database at %1</translation>
    </message>
    <message>
        <source>%1이(가) 이미 있습니다; 복구는 파일을 덮어쓰지 않습니다</source>
        <translation>%1 exists; recovery never writes over a file</translation>
    </message>
    <message>
        <source>%1: 파일을 만들 수 없습니다</source>
        <translation>%1: cannot create the file</translation>
    </message>
    <message>
        <source>테이블 %1에는 필드 %2이(가) 없습니다</source>
        <translation>table %1 has no field %2</translation>
    </message>
    <message>
        <source>%1은(는) 읽기 전용으로 열렸습니다: 이 역할은 테이블 %2을(를) 바꿀 수 없습니다; 아무것도 바꾸지 않았습니다</source>
        <translation>%1 is open read-only: the role may not change table %2; nothing was changed</translation>
    </message>
    <message>
        <source>%1은(는) 읽기 전용으로 열렸습니다: 파일이나 그 폴더에 쓸 수 없습니다; 아무것도 바꾸지 않았습니다</source>
        <translation>%1 is open read-only: the file or its folder cannot be written; nothing was changed</translation>
    </message>
    <message>
        <source>현재 레코드가 지워졌습니다</source>
        <translation>the current record was deleted</translation>
    </message>
    <message>
        <source>현재 레코드가 없습니다</source>
        <translation>there is no current record</translation>
    </message>
    <message>
        <source>%3의 테이블 %2에서 레코드 %1을(를) 읽을 수 없습니다</source>
        <translation>record %1 of table %2 cannot be read in %3</translation>
    </message>
    <message>
        <source>다른 프로그램이 레코드를 지웠습니다</source>
        <translation>the record was deleted by another program</translation>
    </message>
    <message>
        <source>지우기를 멈췄습니다</source>
        <translation>the deletion was stopped</translation>
    </message>
    <message>
        <source>정상</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>잘못된 조건</source>
        <translation>invalid filter</translation>
    </message>
    <message>
        <source>알 수 없는 필드</source>
        <translation>unknown field</translation>
    </message>
    <message>
        <source>잘못된 값</source>
        <translation>invalid value</translation>
    </message>
    <message>
        <source>잘못된 인수</source>
        <translation>invalid argument</translation>
    </message>
    <message>
        <source>열려 있지 않음</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>현재 레코드 없음</source>
        <translation>no current record</translation>
    </message>
    <message>
        <source>편집 중이 아님</source>
        <translation>not editing</translation>
    </message>
    <message>
        <source>읽기 전용</source>
        <translation>read-only</translation>
    </message>
    <message>
        <source>데이터베이스 잠김</source>
        <translation>database locked</translation>
    </message>
    <message>
        <source>디스크 가득 참</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>손상된 데이터베이스</source>
        <translation>damaged database</translation>
    </message>
    <message>
        <source>호환되지 않는 데이터베이스</source>
        <translation>incompatible database</translation>
    </message>
    <message>
        <source>입출력 오류</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>데이터베이스 오류</source>
        <translation>database error</translation>
    </message>
    <message>
        <source>취소됨</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>오류</source>
        <translation>error</translation>
    </message>
    <message>
        <source>필드 %1에는 정수가 필요합니다: &apos;%2&apos;</source>
        <translation>field %1 needs a whole number, got &apos;%2&apos;</translation>
    </message>
    <message>
        <source>필드 %1은(는) %2 범위의 값을 받습니다: %3</source>
        <translation>field %1 takes %2, got %3</translation>
    </message>
    <message>
        <source>필드 %1은(는) 데이터베이스가 정합니다</source>
        <translation>field %1 is set by the engine</translation>
    </message>
    <message>
        <source>필드 %1에는 Yes 또는 No가 필요합니다</source>
        <translation>field %1 needs Yes or No</translation>
    </message>
    <message>
        <source>필드 %1은(는) 최대 %2자입니다</source>
        <translation>field %1 takes at most %2 characters</translation>
    </message>
    <message>
        <source>필드 %1에는 &apos;YYYY-MM-DD HH:MM:SS&apos; 형식의 날짜가 필요합니다: &apos;%2&apos;</source>
        <translation>field %1 needs a date &apos;YYYY-MM-DD HH:MM:SS&apos;, got &apos;%2&apos;</translation>
    </message>
    <message>
        <source>레코드 집합이 열려 있지 않습니다</source>
        <translation>record set is not open</translation>
    </message>
    <message>
        <source>%2의 테이블 %1이(가) 레코드를 순서 없이 나열합니다</source>
        <translation>table %1 lists its records out of order in %2</translation>
    </message>
    <message>
        <source>레코드 집합이 비어 있습니다</source>
        <translation>the record set is empty</translation>
    </message>
</context>
<context>
    <name>usbline</name>
    <message>
        <source>어댑터 %1 (%2)은(는) adapters.conf에 있지만 %3; 거부했습니다</source>
        <translation>adapter %1 (%2) is listed in adapters.conf but %3; refused</translation>
    </message>
    <message>
        <source>어댑터 %1 (%2)을(를) 열 수 없습니다: 권한이 없습니다. udev 규칙을 설치하고 (cmake --install 또는 tyctl adapters --udev-rule) udev를 다시 읽은 뒤 어댑터를 다시 꽂으십시오 (docs/real-adapter.md)</source>
        <translation>adapter %1 (%2) cannot be opened: no permission. Install the udev rule (cmake --install, or tyctl adapters --udev-rule), reload udev and plug it in again (docs/real-adapter.md)</translation>
    </message>
    <message>
        <source>어댑터 %1 (%2)을(를) 다른 프로그램이 쓰고 있습니다; 그 프로그램을 닫고 다시 시도하십시오</source>
        <translation>adapter %1 (%2) is in use by another program; close it and try again</translation>
    </message>
    <message>
        <source>어댑터 %1 (%2)을(를) 차지할 수 없습니다: %3</source>
        <translation>adapter %1 (%2) cannot be claimed: %3</translation>
    </message>
    <message>
        <source>어댑터 %1 (%2)을(를) 열 수 없습니다: %3</source>
        <translation>adapter %1 (%2) cannot be opened: %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot;은(는) VID:PID 쌍(예: 1234:5678)이 아니어서 건너뜁니다</source>
        <translation>&quot;%1&quot; is not a VID:PID pair (e.g. 1234:5678), skipped</translation>
    </message>
    <message>
        <source>그 구성을 읽을 수 없습니다</source>
        <translation>its configuration cannot be read</translation>
    </message>
    <message>
        <source>인터페이스 %1이(가) 없습니다</source>
        <translation>it has no interface %1</translation>
    </message>
    <message>
        <source>그 인터페이스에 %1 엔드포인트 %2이(가) 없습니다</source>
        <translation>its interface has no %1 endpoint %2</translation>
    </message>
</context>
</TS>
