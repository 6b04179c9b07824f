<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>vanconv</name>
    <message>
        <source>--map: &quot;%1&quot;은(는) 필드=열이 아닙니다</source>
        <translation>--map: &quot;%1&quot; is not FIELD=COLUMN</translation>
    </message>
    <message>
        <source>--map: 알 수 없는 필드 &quot;%1&quot;</source>
        <translation>--map: unknown field &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--map: &quot;%1&quot;은(는) 열 번호가 아닙니다</source>
        <translation>--map: &quot;%1&quot; is not a column number</translation>
    </message>
    <message>
        <source>--export 또는 --import 중 하나를 한 번만 쓰십시오</source>
        <translation>give either --export or --import, once</translation>
    </message>
    <message>
        <source>%1에는 파일이 필요합니다</source>
        <translation>%1 needs a file</translation>
    </message>
    <message>
        <source>--sheet에는 1부터 세는 시트 번호가 필요합니다</source>
        <translation>--sheet needs a sheet number from 1</translation>
    </message>
    <message>
        <source>--rows에는 처음-끝이 필요합니다. 예: 2-100</source>
        <translation>--rows needs FIRST-LAST, for example 2-100</translation>
    </message>
    <message>
        <source>--rows에는 1부터 세는 행 번호로 처음-끝이 필요합니다</source>
        <translation>--rows needs FIRST-LAST with row numbers from 1</translation>
    </message>
    <message>
        <source>--map에는 Name=C,Group=C,... 또는 auto가 필요합니다</source>
        <translation>--map needs Name=C,Group=C,... or auto</translation>
    </message>
    <message>
        <source>예상하지 못한 인수 &quot;%1&quot;</source>
        <translation>unexpected argument &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--sheet, --rows, --map, --replace는 --import와 함께 씁니다</source>
        <translation>--sheet, --rows, --map and --replace go with --import</translation>
    </message>
    <message>
        <source>사용법: vanconv                                  변환기 창을 엽니다
       vanconv --export 파일.xlsx|파일.vcf|파일.csv
       vanconv --import 파일 [--sheet N] [--rows 처음-끝]
               [--map Name=C,Group=C,...|auto] [--replace]
필드: Name Group HomePhone HomeAddress CellPhone CompanyName
      CompanyDepartment CompanyDuty CompanyAddress1 CompanyAddress2
      CompanyPhone1 CompanyPhone2 CompanyInnerLine FaxNum Email WebPage
C는 1부터 세는 열 번호입니다. --map이 없거나 auto이면 각 필드는 1행의 글자가
그 필드 이름인 열을 씁니다(모든 내보내기와 vCard 파일이 그렇듯이).
--replace는 먼저 연락처를 비웁니다.
</source>
        <translation>usage: vanconv                                  open the converter window
       vanconv --export FILE.xlsx|FILE.vcf|FILE.csv
       vanconv --import FILE [--sheet N] [--rows FIRST-LAST]
               [--map Name=C,Group=C,...|auto] [--replace]
Fields: Name Group HomePhone HomeAddress CellPhone CompanyName
        CompanyDepartment CompanyDuty CompanyAddress1 CompanyAddress2
        CompanyPhone1 CompanyPhone2 CompanyInnerLine FaxNum Email WebPage
C is a 1-based column number. Without --map (or with auto) each field
takes the column whose row-1 text is its name, as in every export and
vCard file. --replace empties the contact book first.
</translation>
    </message>
</context>
</TS>
