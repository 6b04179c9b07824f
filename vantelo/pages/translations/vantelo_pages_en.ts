<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>AccessibleNames</name>
    <message>
        <source>주소록</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>내선목록</source>
        <translation>Extensions</translation>
    </message>
    <message>
        <source>통화목록</source>
        <translation>Call log</translation>
    </message>
    <message>
        <source>환경설정</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>메모</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>메모 저장</source>
        <translation>Save memo</translation>
    </message>
    <message>
        <source>부재중 자동 응답</source>
        <translation>Answering machine</translation>
    </message>
    <message>
        <source>당겨받기</source>
        <translation>Pick up</translation>
    </message>
    <message>
        <source>재생</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>녹음</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>별표</source>
        <translation>Star</translation>
    </message>
    <message>
        <source>샵</source>
        <translation>Hash</translation>
    </message>
    <message>
        <source>통화</source>
        <translation>Answer or hang up</translation>
    </message>
    <message>
        <source>재다이얼</source>
        <translation>Redial</translation>
    </message>
    <message>
        <source>묵음</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>플래시</source>
        <translation>Flash</translation>
    </message>
    <message>
        <source>최소화</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>트레이로 숨기기</source>
        <translation>Hide to the tray</translation>
    </message>
    <message>
        <source>이름 색인</source>
        <translation>Name index</translation>
    </message>
    <message>
        <source>그룹</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>검색 대상</source>
        <translation>Search in</translation>
    </message>
    <message>
        <source>검색어</source>
        <translation>Search text</translation>
    </message>
    <message>
        <source>검색 실행</source>
        <translation>Run the search</translation>
    </message>
    <message>
        <source>등록</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>수정</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>주소록 목록</source>
        <translation>Contact list</translation>
    </message>
    <message>
        <source>내선 목록</source>
        <translation>Extension list</translation>
    </message>
    <message>
        <source>저장</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>안내 메시지 파일 찾아보기</source>
        <translation>Browse for the greeting file</translation>
    </message>
    <message>
        <source>기본값으로 설정</source>
        <translation>Sets the defaults</translation>
    </message>
    <message>
        <source>차단 목록 (Ctrl+B)</source>
        <translation>Block list (Ctrl+B)</translation>
    </message>
    <message>
        <source>통화 종류</source>
        <translation>Kind of call</translation>
    </message>
    <message>
        <source>검색</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>통화 목록</source>
        <translation>Call list</translation>
    </message>
    <message>
        <source>녹음 재생</source>
        <translation>Play the recording</translation>
    </message>
    <message>
        <source>재생 멈춤</source>
        <translation>Stop playing</translation>
    </message>
    <message>
        <source>헤드셋으로 듣기</source>
        <translation>Listen on the headset</translation>
    </message>
    <message>
        <source>재생 위치</source>
        <translation>Playing position</translation>
    </message>
    <message>
        <source>선택 삭제</source>
        <translation>Delete the chosen call</translation>
    </message>
    <message>
        <source>전체 삭제</source>
        <translation>Delete every call</translation>
    </message>
    <message>
        <source>선택 백업</source>
        <translation>Back up the chosen call</translation>
    </message>
    <message>
        <source>전체 백업</source>
        <translation>Back up every call</translation>
    </message>
    <message>
        <source>CSV로 내보내기</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>통화 중</source>
        <translation>In a call</translation>
    </message>
    <message>
        <source>대기 중</source>
        <translation>On hook</translation>
    </message>
    <message>
        <source>자동 응답 중</source>
        <translation>Answering machine on</translation>
    </message>
    <message>
        <source>자동 응답 안 함</source>
        <translation>Answering machine off</translation>
    </message>
    <message>
        <source>녹음 중</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>녹음 안 함</source>
        <translation>Not recording</translation>
    </message>
    <message>
        <source>재생 중</source>
        <translation>Playing</translation>
    </message>
    <message>
        <source>재생 안 함</source>
        <translation>Not playing</translation>
    </message>
    <message>
        <source>번호 표시</source>
        <translation>Number display</translation>
    </message>
    <message>
        <source>상태 표시줄</source>
        <translation>Status line</translation>
    </message>
    <message>
        <source>전화 수신 알림</source>
        <translation>Incoming call</translation>
    </message>
    <message>
        <source>F5: 전화 받기 / 끊기</source>
        <translation>F5: answer / hang up</translation>
    </message>
    <message>
        <source>Ctrl+Tab: 다음 페이지, Ctrl+Shift+Tab: 이전 페이지</source>
        <translation>Ctrl+Tab: next page, Ctrl+Shift+Tab: previous page</translation>
    </message>
</context>
<context>
    <name>BlockCaller</name>
    <message>
        <source>차단</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>차단 목록에 추가했습니다: </source>
        <translation>Added to the block list: </translation>
    </message>
    <message>
        <source>이미 차단 목록에 있는 번호입니다: </source>
        <translation>This number is already on the block list: </translation>
    </message>
    <message>
        <source>차단 목록에 추가하지 못했습니다: </source>
        <translation>Could not add to the block list: </translation>
    </message>
    <message>
        <source>차단할 번호가 없습니다.</source>
        <translation>There is no number to block.</translation>
    </message>
</context>
<context>
    <name>PhoneLayout</name>
    <message>
        <source>주소록</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>주소록 페이지</source>
        <translation>Contacts page</translation>
    </message>
    <message>
        <source>내선목록</source>
        <translation>Extensions</translation>
    </message>
    <message>
        <source>내선목록 페이지</source>
        <translation>Extensions page</translation>
    </message>
    <message>
        <source>통화목록</source>
        <translation>Call log</translation>
    </message>
    <message>
        <source>통화목록 페이지</source>
        <translation>Call log page</translation>
    </message>
    <message>
        <source>환경설정</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>환경설정 페이지</source>
        <translation>Settings page</translation>
    </message>
    <message>
        <source>메모 저장</source>
        <translation>Save memo</translation>
    </message>
    <message>
        <source>메모를 저장합니다.</source>
        <translation>Saves the memo.</translation>
    </message>
    <message>
        <source>부재중</source>
        <translation>Away</translation>
    </message>
    <message>
        <source>부재중임을 설정합니다.</source>
        <translation>Sets the answering machine on.</translation>
    </message>
    <message>
        <source>당겨받기</source>
        <translation>Pick up</translation>
    </message>
    <message>
        <source>전화를 끌어받습니다.</source>
        <translation>Picks up a call ringing elsewhere.</translation>
    </message>
    <message>
        <source>재생</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>파일 재생을 합니다.</source>
        <translation>Plays a file.</translation>
    </message>
    <message>
        <source>녹취</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>통화 녹취를 합니다.</source>
        <translation>Records the call.</translation>
    </message>
    <message>
        <source>통화</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>Hook Off</source>
        <translation>Hook Off</translation>
    </message>
    <message>
        <source>재다이얼</source>
        <translation>Redial</translation>
    </message>
    <message>
        <source>묵음</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Mute 설정을 설정합니다.</source>
        <translation>Turns mute on.</translation>
    </message>
    <message>
        <source>플래시</source>
        <translation>Flash</translation>
    </message>
    <message>
        <source>부재</source>
        <translation>Away</translation>
    </message>
    <message>
        <source>검색</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>검색 실행</source>
        <translation>Run the search</translation>
    </message>
    <message>
        <source>등록</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>수정</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>이 름</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>그룹</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
    <message>
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>자택전화</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>이동전화</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>자택주소</source>
        <translation>Home addr.</translation>
    </message>
    <message>
        <source>회사명</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>부서</source>
        <translation>Dept.</translation>
    </message>
    <message>
        <source>직책</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>내선</source>
        <translation>Ext.</translation>
    </message>
    <message>
        <source>전화번호1</source>
        <translation>Phone 1</translation>
    </message>
    <message>
        <source>전화번호2</source>
        <translation>Phone 2</translation>
    </message>
    <message>
        <source>회사주소1</source>
        <translation>Address 1</translation>
    </message>
    <message>
        <source>회사주소2</source>
        <translation>Address 2</translation>
    </message>
    <message>
        <source>메모</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>저장</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>이름</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>자택 전화</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>이동 전화</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Web Page</source>
        <translation>Web page</translation>
    </message>
    <message>
        <source>자택 주소</source>
        <translation>Home addr.</translation>
    </message>
    <message>
        <source>내선 번호</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>회사전화1</source>
        <translation>Phone 1</translation>
    </message>
    <message>
        <source>회사전화2</source>
        <translation>Phone 2</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>찾아보기</source>
        <translation>Browse for the greeting file</translation>
    </message>
    <message>
        <source>Default Load</source>
        <translation>Default timings</translation>
    </message>
    <message>
        <source>기본값으로 설정</source>
        <translation>Sets the defaults</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>차단 목록...</source>
        <translation>Block list...</translation>
    </message>
    <message>
        <source>걸려 오는 전화의 차단 목록 편집 (Ctrl+B)</source>
        <translation>Edits the block list of incoming calls (Ctrl+B)</translation>
    </message>
    <message>
        <source>지역 번호 :</source>
        <translation>Area code :</translation>
    </message>
    <message>
        <source>         외선 번호 :</source>
        <translation>Outside line :</translation>
    </message>
    <message>
        <source>끌어받기 번호 :</source>
        <translation>Pick-up code :</translation>
    </message>
    <message>
        <source>착신 자동 녹음</source>
        <translation>Record incoming</translation>
    </message>
    <message>
        <source>발신 자동 녹음</source>
        <translation>Record outgoing</translation>
    </message>
    <message>
        <source>녹음 압축률 : </source>
        <translation>Compression : </translation>
    </message>
    <message>
        <source>녹음 최대시간(초) :</source>
        <translation>Longest message (s) :</translation>
    </message>
    <message>
        <source>안내 메시지만 재생</source>
        <translation>Play the greeting only</translation>
    </message>
    <message>
        <source>메시지 재생 후 상대응답</source>
        <translation>Greeting, then take a message</translation>
    </message>
    <message>
        <source>안내 메시지 : </source>
        <translation>Greeting : </translation>
    </message>
    <message>
        <source>녹음 최소시간(초) :</source>
        <translation>Shortest message (s) :</translation>
    </message>
    <message>
        <source>무음 종료시간(초) :</source>
        <translation>Silence ends it (s) :</translation>
    </message>
    <message>
        <source>언어 :</source>
        <translation>Language :</translation>
    </message>
    <message>
        <source>다시 시작하면 적용됩니다.</source>
        <translation>Applies after a restart.</translation>
    </message>
    <message>
        <source>검색 대상</source>
        <translation>Look in</translation>
    </message>
    <message>
        <source>검색어</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>선택된 녹취파일 재생</source>
        <translation>Plays the chosen recording</translation>
    </message>
    <message>
        <source>재생 멈춤</source>
        <translation>Stop playing</translation>
    </message>
    <message>
        <source>헤드셋으로 듣기</source>
        <translation>Listen on the headset</translation>
    </message>
    <message>
        <source>선택 삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>하나의 선택 목록을 삭제</source>
        <translation>Deletes the chosen call</translation>
    </message>
    <message>
        <source>전체 삭제</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>전체 목록을 삭제</source>
        <translation>Deletes every call</translation>
    </message>
    <message>
        <source>선택 백업</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>선택된 하나의 목록 백업</source>
        <translation>Backs up the chosen call</translation>
    </message>
    <message>
        <source>전체 백업</source>
        <translation>Save all</translation>
    </message>
    <message>
        <source>전체 목록을 백업</source>
        <translation>Backs up every call</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>보이는 통화 목록을 CSV 파일로 내보내기</source>
        <translation>Exports the calls shown to a CSV file</translation>
    </message>
</context>
<context>
    <name>PhoneSkin</name>
    <message>
        <source>끊기</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>정지</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>녹취 중지</source>
        <translation>Stop rec.</translation>
    </message>
    <message>
        <source>부재 해제</source>
        <translation>Away off</translation>
    </message>
    <message>
        <source>데스크 전화 관리자</source>
        <translation>Desk phone manager</translation>
    </message>
    <message>
        <source>메모</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>헤드셋</source>
        <translation>Headset</translation>
    </message>
    <message>
        <source>스피커</source>
        <translation>Speaker</translation>
    </message>
    <message>
        <source>연락처 편집</source>
        <translation>Edit contact</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::AboutBox</name>
    <message>
        <source>Vantelo Manager 버전 2.1</source>
        <translation>Vantelo Manager version 2.1</translation>
    </message>
    <message>
        <source>반텔로 정보</source>
        <translation>About Vantelo</translation>
    </message>
    <message>
        <source>확인</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::BlockListDialog</name>
    <message>
        <source>패턴: 숫자, * (자릿수 상관없이), ? (한 자리), 또는 withheld (발신 번호 표시 제한), unknown (발신 번호 없음). 허용 규칙은 모든 차단 규칙보다 앞섭니다.</source>
        <translation>Pattern: digits, * (any number of digits), ? (one digit), or withheld (number withheld), unknown (no number). Allow rules come before every block rule.</translation>
    </message>
    <message>
        <source>차단 목록을 고치지 못했습니다: </source>
        <translation>Could not change the block list: </translation>
    </message>
    <message>
        <source>차단 목록을 열지 못했습니다: </source>
        <translation>Could not open the block list: </translation>
    </message>
    <message>
        <source>끊기: 받자마자 끊습니다. 무시: 울리게 두고 받지 않습니다. 안내 후 끊기: 받아서 안내 멘트를 들려준 뒤 끊습니다.</source>
        <translation>Hang up: answers and hangs up at once. Ignore: lets it ring unanswered. Greeting, then hang up: answers, plays the greeting, then hangs up.</translation>
    </message>
    <message>
        <source>차단 목록</source>
        <translation>Block list</translation>
    </message>
    <message>
        <source>차단 규칙</source>
        <translation>Block rules</translation>
    </message>
    <message>
        <source>패턴</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>구분</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>동작</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>횟수</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>마지막 적용</source>
        <translation>Last applied</translation>
    </message>
    <message>
        <source>메모</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>선택한 규칙</source>
        <translation>Chosen rule</translation>
    </message>
    <message>
        <source>메모 저장</source>
        <translation>Save memo</translation>
    </message>
    <message>
        <source>선택한 규칙의 메모를 저장합니다.</source>
        <translation>Saves the chosen rule&apos;s memo.</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>선택한 규칙을 지웁니다 (Delete 키).</source>
        <translation>Deletes the chosen rule (Delete key).</translation>
    </message>
    <message>
        <source>새 규칙</source>
        <translation>New rule</translation>
    </message>
    <message>
        <source>예: 070*, 0212345678, withheld</source>
        <translation>e.g. 070*, 0212345678, withheld</translation>
    </message>
    <message>
        <source>추가</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>이 규칙을 차단 목록에 넣습니다 (Enter).</source>
        <translation>Puts this rule on the block list (Enter).</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>차단 목록을 닫습니다 (Esc).</source>
        <translation>Closes the block list (Esc).</translation>
    </message>
    <message>
        <source>허용</source>
        <translation>Allow</translation>
    </message>
    <message>
        <source>차단</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>끊기</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>무시</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>안내 후 끊기</source>
        <translation>Greet, hang up</translation>
    </message>
    <message>
        <source>패턴을 입력하세요.</source>
        <translation>Enter a pattern.</translation>
    </message>
    <message>
        <source>패턴은 %1자까지 쓸 수 있습니다.</source>
        <translation>A pattern may have at most %1 characters.</translation>
    </message>
    <message>
        <source>패턴에는 숫자와 *, ? 만 쓸 수 있습니다 (또는 withheld, unknown).</source>
        <translation>A pattern may only have digits, * and ? (or be withheld, unknown).</translation>
    </message>
    <message>
        <source>이미 차단 목록에 있는 패턴입니다: </source>
        <translation>This pattern is already on the block list: </translation>
    </message>
    <message>
        <source>차단 목록에 없는 패턴입니다: </source>
        <translation>This pattern is not on the block list: </translation>
    </message>
    <message>
        <source>규칙을 바꿨습니다: </source>
        <translation>Rule changed: </translation>
    </message>
    <message>
        <source>차단 목록에서 지웠습니다: </source>
        <translation>Deleted from the block list: </translation>
    </message>
</context>
<context>
    <name>vantelo::pages::CallListPage</name>
    <message>
        <source>선택된 날짜의 목록이 비어 있습니다.</source>
        <translation>The list of the chosen date is empty.</translation>
    </message>
    <message>
        <source>통화 목록의 백업이 완료되었습니다.</source>
        <translation>The call log has been backed up.</translation>
    </message>
    <message>
        <source>정확한 날짜를 입력해 주세요. (예, YYMMDD 또는 YY-MM-DD).</source>
        <translation>Please enter a valid date (e.g. YYMMDD or YY-MM-DD).</translation>
    </message>
    <message>
        <source>번호</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>종류</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>날짜</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>시간</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>이름</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>전화번호</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>통화</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>녹음</source>
        <translation>Rec</translation>
    </message>
    <message>
        <source>내선</source>
        <translation>Ext</translation>
    </message>
    <message>
        <source>메모</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>전체</source>
        <translation>All</translation>
    </message>
    <message>
        <source>발신</source>
        <translation>Outgoing</translation>
    </message>
    <message>
        <source>착신</source>
        <translation>Incoming</translation>
    </message>
    <message>
        <source>수신</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>부재중</source>
        <translation>Missed</translation>
    </message>
    <message>
        <source>자동응답</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>음성녹음</source>
        <translation>Recordings</translation>
    </message>
    <message>
        <source>전체선택</source>
        <translation>All fields</translation>
    </message>
    <message>
        <source>CSV로 내보내기</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>백업</source>
        <translation>Back up</translation>
    </message>
    <message>
        <source>삭제 중이던 녹음 파일을 되돌리지 못했습니다:</source>
        <translation>Recordings being deleted could not be put back:</translation>
    </message>
    <message>
        <source>녹음 파일을 지울 수 없어 이 통화 기록은 남겨 둡니다:</source>
        <translation>These calls are kept, as their recordings could not be deleted:</translation>
    </message>
    <message>
        <source>선택된 데이터가 삭제됩니다.

삭제하시겠습니까?</source>
        <translation>The chosen entry will be deleted.

Delete it?</translation>
    </message>
    <message>
        <source>통화 목록을 삭제하는 중입니다...</source>
        <translation>Deleting the call log...</translation>
    </message>
    <message>
        <source>취소</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>통화 목록 삭제를 취소했습니다. 지워진 것은 없습니다.</source>
        <translation>Deleting the call log was cancelled. Nothing was deleted.</translation>
    </message>
    <message>
        <source>모든 통화목록이 삭제됩니다. 

 통화 목록을 삭제하시겠습니까?</source>
        <translation>Every call of the log will be deleted.

Delete the call log?</translation>
    </message>
    <message>
        <source>통화 목록이 삭제되었습니다.</source>
        <translation>The call log has been deleted.</translation>
    </message>
    <message>
        <source>백업 중 저장하지 못한 것이 있습니다:
</source>
        <translation>Some of the backup could not be saved:
</translation>
    </message>
    <message>
        <source>백업 후 통화 목록을 완전 삭제하시겠습니까?

&apos;예&apos;를 선택할 경우 백업 후 통화 목록이 삭제됩니다.</source>
        <translation>Delete the whole call log after the backup?

With &apos;Yes&apos; the call log is deleted after the backup.</translation>
    </message>
    <message>
        <source>백업 후 선택 통화 목록을 삭제하시겠습니까?

&apos;예&apos;를 선택할 경우 백업 후 선택 통화 목록이 삭제됩니다.</source>
        <translation>Delete the chosen call after the backup?

With &apos;Yes&apos; the chosen call is deleted after the backup.</translation>
    </message>
    <message>
        <source>CSV 파일을 쓸 수 없습니다: </source>
        <translation>Cannot write the CSV file: </translation>
    </message>
    <message>
        <source>통화 목록 %1건을 CSV 파일로 내보냈습니다.</source>
        <translation>Exported %1 calls to the CSV file.</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::CallLogPlayer</name>
    <message>
        <source>Recording중입니다.</source>
        <translation>Recording.</translation>
    </message>
    <message>
        <source>이미 재생중입니다.</source>
        <translation>Already playing.</translation>
    </message>
    <message>
        <source>부재중 설정시는 재생이 되지 않습니다.</source>
        <translation>Nothing plays while the answering machine is on.</translation>
    </message>
    <message>
        <source>재생할 파일 정보가 올바르지 않습니다.</source>
        <translation>The file to play is not valid.</translation>
    </message>
    <message>
        <source>녹음 파일을 변환하지 못했습니다.</source>
        <translation>Could not convert the recording.</translation>
    </message>
    <message>
        <source>녹음 파일을 재생할 수 없습니다.</source>
        <translation>Cannot play the recording.</translation>
    </message>
    <message>
        <source>지금은 장치로 재생할 수 없습니다. 잠시 후 다시 시도해 주세요.</source>
        <translation>The device cannot play now. Please try again in a moment.</translation>
    </message>
    <message>
        <source>녹취 재생</source>
        <translation>Playing the recording</translation>
    </message>
    <message>
        <source>변화중..</source>
        <translation>Converting..</translation>
    </message>
    <message>
        <source>일시 정지</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>스피커 설정</source>
        <translation>Play on the speaker</translation>
    </message>
    <message>
        <source>헤드셋 설정</source>
        <translation>Play on the headset</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::CardDavDialog</name>
    <message>
        <source>주소록 서버(CardDAV)</source>
        <translation>Address book server (CardDAV)</translation>
    </message>
    <message>
        <source>주소:</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>사용자:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>비밀번호 파일:</source>
        <translation>Password file:</translation>
    </message>
    <message>
        <source>동기화 간격(분):</source>
        <translation>Sync every (minutes):</translation>
    </message>
    <message>
        <source>비밀번호는 비밀 저장소(secret-tool)나 0600 파일에 둡니다</source>
        <translation>The password goes in the secret store (secret-tool) or a 0600 file</translation>
    </message>
    <message>
        <source>지금 동기화</source>
        <translation>Sync now</translation>
    </message>
    <message>
        <source>설정 파일 %1에 쓸 수 없습니다</source>
        <translation>Cannot write the settings file %1</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::ContactEditPage</name>
    <message>
        <source>그룹을 입력해 주세요.</source>
        <translation>Please enter a group.</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::ContactPage</name>
    <message>
        <source>전체 그룹</source>
        <translation>All groups</translation>
    </message>
    <message>
        <source>이름</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>회사</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>자택전화</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>이동전화</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>회사전화1</source>
        <translation>Phone 1</translation>
    </message>
    <message>
        <source>회사전화2</source>
        <translation>Phone 2</translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation>e-mail</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Web page</translation>
    </message>
    <message>
        <source>집주소</source>
        <translation>Home address</translation>
    </message>
    <message>
        <source>회사주소1</source>
        <translation>Address 1</translation>
    </message>
    <message>
        <source>회사주소2</source>
        <translation>Address 2</translation>
    </message>
    <message>
        <source>FAX</source>
        <translation>FAX</translation>
    </message>
    <message>
        <source>전체 보기</source>
        <translation>Show all</translation>
    </message>
    <message>
        <source>회사명</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>전화번호</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>전체</source>
        <translation>All</translation>
    </message>
    <message>
        <source>삭제하시겠습니까?</source>
        <translation>Delete it?</translation>
    </message>
    <message>
        <source>부서</source>
        <translation>Dept.</translation>
    </message>
    <message>
        <source>직책</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>내선</source>
        <translation>Ext.</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::PhoneWindow</name>
    <message>
        <source>Hook On</source>
        <translation>Hook On</translation>
    </message>
    <message>
        <source>Hook Off</source>
        <translation>Hook Off</translation>
    </message>
    <message>
        <source>재생 멈춤</source>
        <translation>Stop playing</translation>
    </message>
    <message>
        <source>재생 시작</source>
        <translation>Start playing</translation>
    </message>
    <message>
        <source>녹취 멈춤</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>녹취 시작</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>Mute 해제</source>
        <translation>Mute off</translation>
    </message>
    <message>
        <source>Mute 설정</source>
        <translation>Mute on</translation>
    </message>
    <message>
        <source>부재중 설정 해제</source>
        <translation>Answering machine off</translation>
    </message>
    <message>
        <source>부재중 설정</source>
        <translation>Answering machine on</translation>
    </message>
    <message>
        <source>Vantelo 정보(&amp;A)...</source>
        <translation>&amp;About Vantelo...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Vantelo
새 메시지 %1</source>
        <translation>Vantelo
New messages: %1</translation>
    </message>
    <message>
        <source>새 메시지 %1</source>
        <translation>New messages: %1</translation>
    </message>
</context>
<context>
    <name>vantelo::pages::SettingsPage</name>
    <message>
        <source>번호 하나가 눌러지는 시간</source>
        <translation>Time one digit is pressed</translation>
    </message>
    <message>
        <source>번호 하나를 누른 후 다음 번호 누를 때까지의 시간 </source>
        <translation>Time between two digits </translation>
    </message>
    <message>
        <source>착신 전환(FLASH) 시간</source>
        <translation>Flash (transfer) time</translation>
    </message>
    <message>
        <source>착신 전환(FLASH) 후 대기 시간</source>
        <translation>Wait after a flash (transfer)</translation>
    </message>
    <message>
        <source>외선 번호 송출 후 대기 시간 </source>
        <translation>Wait after the outside-line code </translation>
    </message>
    <message>
        <source>자동 응답 사용시 링 대기 시간</source>
        <translation>Ringing before the answering machine answers</translation>
    </message>
    <message>
        <source>상대 응답 선택시 상대 응답 없이 대기시간</source>
        <translation>Wait for the caller&apos;s choice</translation>
    </message>
    <message>
        <source>자동</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>이보다 짧은 메시지는 녹음 파일을 지웁니다 (통화 기록은 남습니다).</source>
        <translation>A shorter message&apos;s recording is deleted (the call stays in the log).</translation>
    </message>
    <message>
        <source>이 시간 동안 소리가 없으면 메시지 녹음을 끝냅니다 (0: 사용 안 함).</source>
        <translation>This long a silence ends the message (0: off).</translation>
    </message>
    <message>
        <source>사용 안 함</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>압축안함</source>
        <translation>None</translation>
    </message>
    <message>
        <source>낮음</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>중간</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>높음</source>
        <translation>High</translation>
    </message>
    <message>
        <source>다음에 프로그램을 시작할 때부터 적용됩니다.</source>
        <translation>Takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>(%1/1000초)</source>
        <translation>(%1/1000 s)</translation>
    </message>
    <message>
        <source>설정을 파일에 저장하지 못했습니다.</source>
        <translation>Could not save the settings to the file.</translation>
    </message>
    <message>
        <source>주소록 서버...</source>
        <translation>CardDAV...</translation>
    </message>
    <message>
        <source>주소록 서버(CardDAV) 설정과 동기화 (Ctrl+D)</source>
        <translation>Address book server (CardDAV) settings and sync (Ctrl+D)</translation>
    </message>
    <message>
        <source>주소록 서버 (Ctrl+D)</source>
        <translation>Address book server (Ctrl+D)</translation>
    </message>
</context>
</TS>
