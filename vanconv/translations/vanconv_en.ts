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
    <message>
        <source>%1행: %2</source>
        <translation>row %1: %2</translation>
    </message>
</context>
<context>
    <name>vanconv::text</name>
    <message>
        <source>엑셀 데이터 Vantelo 주소록 변환기</source>
        <translation>Excel data to Vantelo contacts converter</translation>
    </message>
    <message>
        <source>Excel File -&gt; Vantelo</source>
        <translation>Excel File -&gt; Vantelo</translation>
    </message>
    <message>
        <source>Vantelo -&gt; Excel File</source>
        <translation>Vantelo -&gt; Excel File</translation>
    </message>
    <message>
        <source>변환 방식</source>
        <translation>How to convert</translation>
    </message>
    <message>
        <source>기존 주소록에 추가하기</source>
        <translation>Add to the existing contacts</translation>
    </message>
    <message>
        <source>새 주소록 만들기  (기존 주소록은 삭제됩니다.)</source>
        <translation>Make new contacts  (the existing contacts are deleted.)</translation>
    </message>
    <message>
        <source>엑셀파일 선택</source>
        <translation>Choose Excel file</translation>
    </message>
    <message>
        <source>Work Sheet 선택 :</source>
        <translation>Work sheet :</translation>
    </message>
    <message>
        <source>데이터 라인 영역 선택 :</source>
        <translation>Data rows :</translation>
    </message>
    <message>
        <source>로 부터</source>
        <translation>to</translation>
    </message>
    <message>
        <source>까지의 데이터</source>
        <translation>(inclusive)</translation>
    </message>
    <message>
        <source>변    환</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>변 환</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>주소록 저장</source>
        <translation>Save contacts</translation>
    </message>
    <message>
        <source>닫    기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>엑셀 파일을 선택해 주십시요.</source>
        <translation>Please choose an Excel file.</translation>
    </message>
    <message>
        <source>변환 설정을 마치고 &apos;변환&apos;버튼을 눌러주시기 바랍니다.</source>
        <translation>Set up the conversion, then press &apos;Convert&apos;.</translation>
    </message>
    <message>
        <source>&apos;저장&apos;버튼을 눌러 주소록을 저장할 수 있습니다.</source>
        <translation>Press &apos;Save&apos; to save the contacts.</translation>
    </message>
    <message>
        <source>기존 파일의 경우 덥어쓰게 됩니다.</source>
        <translation>An existing file is overwritten.</translation>
    </message>
    <message>
        <source>파일이 존재하지 않습니다.  다시 파일을 찾아주십시요.</source>
        <translation>The file does not exist.  Please choose the file again.</translation>
    </message>
    <message>
        <source>Vantelo이 정상적으로 설치되지 않았습니다.</source>
        <translation>Vantelo is not installed properly.</translation>
    </message>
    <message>
        <source>Vantelo 프로그램을 PC에 다시 설치하고 실행해 주십시요.</source>
        <translation>Please install Vantelo on this PC again and start it.</translation>
    </message>
    <message>
        <source>Vantelo : </source>
        <translation>Vantelo : </translation>
    </message>
    <message>
        <source>변환 설정을 확인 하십시요.</source>
        <translation>Please check the conversion settings.</translation>
    </message>
    <message>
        <source>데이터 범위가 잘못되었습니다.</source>
        <translation>The data rows are wrong.</translation>
    </message>
    <message>
        <source>변환중... 잠시 기다려 주시기 바랍니다.</source>
        <translation>Converting... please wait a moment.</translation>
    </message>
    <message>
        <source>이전 주소록의 데이터가 모두 삭제됩니다.
계속 진행하시겠습니까?</source>
        <translation>Every entry of the old contacts will be deleted.
Do you want to go on?</translation>
    </message>
    <message>
        <source>새주소록</source>
        <translation>New contacts</translation>
    </message>
    <message>
        <source>새주소록 작업</source>
        <translation>Making new contacts</translation>
    </message>
    <message>
        <source>변환이 완료되었습니다.</source>
        <translation>The conversion is complete.</translation>
    </message>
    <message>
        <source>계속 작업시 파일열기를 눌러주십시요.</source>
        <translation>To go on, press Choose Excel file.</translation>
    </message>
    <message>
        <source>이름을 입력하여 주십시오.</source>
        <translation>Please enter a name.</translation>
    </message>
    <message>
        <source>새로운 이름을 선택해 주시기 바랍니다.</source>
        <translation>Please choose a new name.</translation>
    </message>
    <message>
        <source>Select FileName</source>
        <translation>Select FileName</translation>
    </message>
    <message>
        <source>저장 완료</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>파일을 열 수 없습니다: </source>
        <translation>Cannot open the file: </translation>
    </message>
    <message>
        <source>Vantelo 프로그램이 종료되지 않아 변환하지 않았습니다.</source>
        <translation>Vantelo did not close, so nothing was converted.</translation>
    </message>
    <message>
        <source>Vantelo를 닫은 뒤 다시 &apos;변환&apos;을 눌러 주십시요.</source>
        <translation>Please close Vantelo and press &apos;Convert&apos; again.</translation>
    </message>
    <message>
        <source>변환하지 못했습니다. 주소록은 바뀌지 않았습니다.</source>
        <translation>Could not convert. The contacts are unchanged.</translation>
    </message>
    <message>
        <source>Vantelo를 다시 시작하지 못했습니다: </source>
        <translation>Could not start Vantelo again: </translation>
    </message>
    <message>
        <source>주소록을 읽을 수 없습니다: </source>
        <translation>Cannot read the contacts: </translation>
    </message>
    <message>
        <source>파일을 저장하지 못했습니다: </source>
        <translation>Could not save the file: </translation>
    </message>
    <message>
        <source>변환중... </source>
        <translation>Converting... </translation>
    </message>
    <message>
        <source>데이터 시작 줄</source>
        <translation>First data row</translation>
    </message>
    <message>
        <source>데이터 끝 줄</source>
        <translation>Last data row</translation>
    </message>
    <message>
        <source>선택한 엑셀 파일</source>
        <translation>Chosen Excel file</translation>
    </message>
    <message>
        <source>변환 상태</source>
        <translation>Conversion status</translation>
    </message>
    <message>
        <source>이      름 :</source>
        <translation>Name :</translation>
    </message>
    <message>
        <source>그      룹 :</source>
        <translation>Group :</translation>
    </message>
    <message>
        <source>집   전화 : </source>
        <translation>Home phone : </translation>
    </message>
    <message>
        <source>집   주소 :</source>
        <translation>Home address :</translation>
    </message>
    <message>
        <source>이동전화 :</source>
        <translation>Mobile :</translation>
    </message>
    <message>
        <source>회      사 :</source>
        <translation>Company :</translation>
    </message>
    <message>
        <source>부      서 :</source>
        <translation>Department :</translation>
    </message>
    <message>
        <source>직      책 :</source>
        <translation>Title :</translation>
    </message>
    <message>
        <source>회사주소1:</source>
        <translation>Work address 1:</translation>
    </message>
    <message>
        <source>회사주소2:</source>
        <translation>Work address 2:</translation>
    </message>
    <message>
        <source>회사전화1:</source>
        <translation>Work phone 1:</translation>
    </message>
    <message>
        <source>회사전화2:</source>
        <translation>Work phone 2:</translation>
    </message>
    <message>
        <source>회사내선 :</source>
        <translation>Extension :</translation>
    </message>
    <message>
        <source>Fax        :</source>
        <translation>Fax :</translation>
    </message>
    <message>
        <source>e-mail    :</source>
        <translation>e-mail :</translation>
    </message>
    <message>
        <source>Web       :</source>
        <translation>Web :</translation>
    </message>
</context>
</TS>
