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
    <message>
        <source>Vantelo가 설치되어 있지 않습니다: 등록(AppPaths.conf)에 Path가 없고 %2에 %1이(가) 없습니다</source>
        <translation>Vantelo is not installed: no Path in its registration (AppPaths.conf) and no %1 in %2</translation>
    </message>
    <message>
        <source>Vantelo가 아직 스스로 등록하지 않았습니다(AppPaths.conf에 Path 없음); 기본 폴더 %1의 연락처를 씁니다</source>
        <translation>Vantelo has not registered itself yet (no Path in AppPaths.conf); using the contact book in its default folder %1</translation>
    </message>
    <message>
        <source>등록된 데이터베이스 %1은(는) Vantelo 데이터베이스가 아닙니다</source>
        <translation>the registered database %1 is not a Vantelo database</translation>
    </message>
    <message>
        <source>%1: 이름은 .xlsx, .vcf 또는 .csv로 끝나야 합니다</source>
        <translation>%1: the name must end in .xlsx, .vcf or .csv</translation>
    </message>
    <message>
        <source>연락처를 읽을 수 없습니다: %1</source>
        <translation>cannot read the contact book: %1</translation>
    </message>
    <message>
        <source>연락처 %1개를 %2(으)로 내보냈습니다</source>
        <translation>%1 contacts exported to %2</translation>
    </message>
    <message>
        <source>%1에는 시트 %2이(가) 없습니다 (시트 %3개)</source>
        <translation>%1 has no sheet %2 (it has %3)</translation>
    </message>
    <message>
        <source>%1: 1행에 필드 이름이 없습니다 (Name, Group, HomePhone, ...); --map Name=C,Group=C,...로 열을 정하십시오</source>
        <translation>%1: row 1 names no field (Name, Group, HomePhone, ...); give the columns with --map Name=C,Group=C,...</translation>
    </message>
    <message>
        <source>%1: 시트 %2의 1행에 필드 이름이 없습니다 (Name, Group, HomePhone, ...); --map Name=C,Group=C,...로 열을 정하십시오</source>
        <translation>%1: row 1 of sheet %2 names no field (Name, Group, HomePhone, ...); give the columns with --map Name=C,Group=C,...</translation>
    </message>
    <message>
        <source>Name 필드에 열이 없습니다 (--map Name=C)</source>
        <translation>the Name field has no column (--map Name=C)</translation>
    </message>
    <message>
        <source>가져올 행이 없습니다 (%1-%2행)</source>
        <translation>no rows to import (rows %1-%2)</translation>
    </message>
    <message>
        <source>Vantelo가 닫히지 않아 아무것도 가져오지 않았습니다</source>
        <translation>Vantelo did not close; nothing was imported</translation>
    </message>
    <message>
        <source>Vantelo를 다시 시작할 수 없습니다: %1</source>
        <translation>Vantelo could not be started again: %1</translation>
    </message>
    <message>
        <source>아무것도 가져오지 않았습니다: %1</source>
        <translation>nothing was imported: %1</translation>
    </message>
    <message>
        <source>시트 %1, %2행</source>
        <translation>sheet %1, rows %2</translation>
    </message>
    <message>
        <source>%2에서 연락처 %1개를 가져왔습니다 (%3)</source>
        <translation>%1 contacts imported from %2 (%3)</translation>
    </message>
    <message>
        <source>, 연락처를 모두 바꾸었습니다</source>
        <translation>, the contact book was replaced</translation>
    </message>
    <message>
        <source>%1을(를) 열 수 없습니다</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <source>파일이 너무 큽니다</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>파일의 카드가 시트가 담을 수 있는 것보다 많습니다</source>
        <translation>the file has more cards than a sheet holds</translation>
    </message>
    <message>
        <source>등록에 시작할 프로그램이 없습니다</source>
        <translation>the registration names no program to start</translation>
    </message>
    <message>
        <source>%1을(를) 시작할 수 없습니다</source>
        <translation>cannot start %1</translation>
    </message>
    <message>
        <source>%1을(를) 시작할 수 없습니다: %2</source>
        <translation>cannot start %1: %2</translation>
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
<context>
    <name>vcard</name>
    <message>
        <source>파일에 vCard가 없습니다</source>
        <translation>the file holds no vCard</translation>
    </message>
    <message>
        <source>파일이 잘렸습니다: 마지막 vCard에 END:VCARD가 없습니다</source>
        <translation>the file is cut off: its last vCard has no END:VCARD</translation>
    </message>
    <message>
        <source>파일이 UTF-8 텍스트가 아닙니다</source>
        <translation>the file is not UTF-8 text</translation>
    </message>
</context>
<context>
    <name>workbook</name>
    <message>
        <source>%1을(를) 열 수 없습니다</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <source>파일이 너무 큽니다</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>파일이 UTF-8 텍스트가 아닙니다</source>
        <translation>the file is not UTF-8 text</translation>
    </message>
    <message>
        <source>파일을 읽을 메모리가 부족합니다</source>
        <translation>not enough memory to read the file</translation>
    </message>
    <message>
        <source>파일이 올바른 CSV가 아닙니다 (%1, %2행)</source>
        <translation>the file is not valid CSV (%1, line %2)</translation>
    </message>
    <message>
        <source>파일의 행이나 열이 시트가 담을 수 있는 것보다 많습니다</source>
        <translation>the file has more rows or columns than a sheet holds</translation>
    </message>
    <message>
        <source>%1은(는) 통합 문서(.xlsx, .xls, .csv)가 아닙니다</source>
        <translation>%1 is not a workbook (.xlsx, .xls or .csv)</translation>
    </message>
    <message>
        <source>%1에 쓸 수 없습니다: %2</source>
        <translation>cannot write in %1: %2</translation>
    </message>
    <message>
        <source>%1을(를) 바꿀 수 없습니다: %2</source>
        <translation>cannot replace %1: %2</translation>
    </message>
    <message>
        <source>통합 문서를 읽을 메모리가 부족합니다</source>
        <translation>not enough memory to read the workbook</translation>
    </message>
    <message>
        <source>통합 문서를 열 수 없습니다</source>
        <translation>the workbook cannot be opened</translation>
    </message>
    <message>
        <source>통합 문서의 문자 인코딩을 읽을 수 없습니다</source>
        <translation>the workbook&apos;s text encoding cannot be read</translation>
    </message>
    <message>
        <source>통합 문서가 손상되었거나 Excel 통합 문서가 아닙니다</source>
        <translation>the workbook is damaged or not an Excel workbook</translation>
    </message>
    <message>
        <source>통합 문서가 손상되었습니다 (읽기가 실패했습니다)</source>
        <translation>the workbook is damaged (its reader failed)</translation>
    </message>
    <message>
        <source>통합 문서가 비밀번호로 보호되어 있습니다</source>
        <translation>the workbook is protected by a password</translation>
    </message>
    <message>
        <source>통합 문서를 읽을 수 없습니다: %1</source>
        <translation>cannot read the workbook: %1</translation>
    </message>
    <message>
        <source>통합 문서가 너무 큽니다</source>
        <translation>the workbook is too large</translation>
    </message>
    <message>
        <source>통합 문서가 손상되었습니다 (%1)</source>
        <translation>the workbook is damaged (%1)</translation>
    </message>
    <message>
        <source>%1이(가) 너무 큽니다</source>
        <translation>%1 is too large</translation>
    </message>
    <message>
        <source>%1을(를) 풀 수 없습니다</source>
        <translation>%1 cannot be unpacked</translation>
    </message>
    <message>
        <source>행 번호가 범위를 벗어났습니다</source>
        <translation>row number out of range</translation>
    </message>
    <message>
        <source>잘못된 셀 참조</source>
        <translation>bad cell reference</translation>
    </message>
    <message>
        <source>시트 밖의 셀</source>
        <translation>cell outside the sheet</translation>
    </message>
    <message>
        <source>공유 문자열이 없습니다</source>
        <translation>missing shared string</translation>
    </message>
    <message>
        <source>읽을 수 있는 zip 패키지가 아닙니다</source>
        <translation>not a readable zip package</translation>
    </message>
    <message>
        <source>%1은(는) zip 파일이지만 Excel 통합 문서가 아닙니다</source>
        <translation>%1 is a zip file but not an Excel workbook</translation>
    </message>
    <message>
        <source>통합 문서 관계가 없습니다</source>
        <translation>no workbook relationships</translation>
    </message>
    <message>
        <source>통합 문서 관계: %1</source>
        <translation>workbook relationships: %1</translation>
    </message>
    <message>
        <source>공유 문자열: %1</source>
        <translation>shared strings: %1</translation>
    </message>
    <message>
        <source>%1이(가) 없습니다</source>
        <translation>missing %1</translation>
    </message>
    <message>
        <source>워크시트가 없습니다</source>
        <translation>no worksheet</translation>
    </message>
</context>
</TS>
