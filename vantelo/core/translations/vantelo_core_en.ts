<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>CRSCallList</name>
    <message>
        <source>통화내역 DB가 찼습니다. 데이터를 정리해 주시기 바랍니다.</source>
        <translation>The call log database is full. Please clear out old calls.</translation>
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
</context>
</TS>
