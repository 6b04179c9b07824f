#include "vantelo/core/VanteloDatabase.h"

#include "platform/Folders.h"
#include "platform/TranslateNoop.h"
#include "storage/Connection.h"
#include "vantelo/core/ContactRecord.h"
#include "vantelo/core/PhoneSettings.h"

namespace vantelo {

using storage::Column;
using storage::ColumnType;
using storage::TableSchema;

namespace {

TableSchema ContactSchema(const char* name) {
    TableSchema t;
    t.name = name;
    t.columns.push_back({"ID", ColumnType::AutoNumber});
    for (const char* field : kContactFieldNames) t.columns.push_back({field, ColumnType::Text});
    // Caller-ID matching compares these; the pages filter by name and group.
    t.indexes = {{"HomePhone"},     {"CellPhone"}, {"CompanyPhone1"},
                 {"CompanyPhone2"}, {"Name"},      {"Group"}};
    if (std::string(name) == "InnerLineList")
        t.indexes.push_back({"CompanyInnerLine"});
    return t;
}

}  // namespace

TableSchema AddressListSchema() {
    return ContactSchema("AddressList");
}

TableSchema InnerLineListSchema() {
    return ContactSchema("InnerLineList");
}

TableSchema BlockListSchema() {
    TableSchema t;
    t.name = "BlockList";
    t.columns = {{"Pattern", ColumnType::Text}, {"RuleKind", ColumnType::Byte},
                 {"Action", ColumnType::Byte},  {"Note", ColumnType::Text},
                 {"Hits", ColumnType::Long},    {"LastHit", ColumnType::DateTime}};
    return t;
}

TableSchema HeardListSchema() {
    TableSchema t;
    t.name = "HeardList";
    t.columns = {{"CallId", ColumnType::Long}, {"HeardAt", ColumnType::DateTime}};
    t.indexes = {{"CallId"}};
    return t;
}

std::vector<TableSchema> PhoneTables() {
    return {AddressListSchema(), InnerLineListSchema(), CallListSchema(), BlockListSchema(),
            HeardListSchema()};
}

TableSchema CallListSchema() {
    TableSchema t;
    t.name = "CallList";
    t.columns = {{"CallMode", ColumnType::Byte},         {"CallName", ColumnType::Text},
                 {"CallNum", ColumnType::Text},          {"CallCompressMode", ColumnType::Byte},
                 {"CallDate", ColumnType::DateTime},     {"CallTime", ColumnType::Long},
                 {"CallRecDirectory", ColumnType::Text}, {"CallRecFileName", ColumnType::Text},
                 {"CallRec", ColumnType::YesNo},         {"CallDtmf", ColumnType::Text},
                 {"CallbInner", ColumnType::YesNo},      {"CallMemo", ColumnType::Text},
                 {"CallDesk", ColumnType::Text, 64},     {"CallUid", ColumnType::Text, 36}};
    t.indexes = {{"CallMode"}, {"CallDate"}, {"CallNum"}};
    // Calls logged before the column existed keep it empty.
    t.uniqueWhenSet = {"CallUid"};
    return t;
}

std::filesystem::path DatabaseIn(const std::filesystem::path& appFolder,
                                 const std::filesystem::path& settingsFile) {
    PhoneSettings settings;
    LoadSettings(settings, settingsFile);
    if (!settings.DatabaseUrl.empty())
        return settings.DatabaseUrl;
    return appFolder / kDatabaseFileName;
}

std::filesystem::path DefaultDatabasePath() {
    return DatabaseIn(vt::ApplicationFolder());
}

bool IsSharedDatabase(const std::filesystem::path& database) {
    return storage::IsServerUri(database.native());
}

std::vector<storage::Migration> PhoneMigrations() {
    std::vector<storage::Migration> m{storage::CreateTablesMigration(PhoneTables())};
    m.push_back({2, "call log search", [](storage::Connection& c, std::vector<std::string>& notes) {
                     // LIKE '*text*' over a million calls needs trigrams.
                     const TableSchema calls = CallListSchema();
                     for (const char* column : {"CallName", "CallNum", "CallDtmf", "CallMemo"}) {
                         storage::Status s = storage::CreateTrigramIndex(c, calls, column, notes);
                         if (!s.ok() || !notes.empty())
                             return s;
                     }
                     return storage::Status::Ok();
                 }});
    return m;
}

namespace {

storage::Result<storage::PrepareReport> PrepareServer(const std::filesystem::path& uri) {
    auto c = storage::Connection::Open(uri);
    if (!c.ok())
        return c.status();
    auto migrated = storage::MigrateServer(*c.value(), PhoneMigrations());
    if (!migrated.ok())
        return migrated.status();
    storage::PrepareReport report;
    report.created = migrated.value().from == 0 && migrated.value().to > 0;
    report.changed = migrated.value().from != migrated.value().to;
    report.readOnly = migrated.value().readOnly;
    report.notes = migrated.value().notes;
    return report;
}

}  // namespace

storage::Result<storage::PrepareReport> PrepareDatabase(const vt::Clock& clock,
                                                        const std::filesystem::path& file) {
    if (IsSharedDatabase(file))
        return PrepareServer(file);
    return storage::PrepareDatabaseFile(file, PhoneTables(), clock);
}

std::string ServerFailureNotice(const storage::Status& status) {
    const std::string& detail = status.message();
    const char* line = QT_TRANSLATE_NOOP("vantelo::text", "공유 데이터베이스를 열 수 없습니다.");
    if (detail.find("carries a password") != std::string::npos)
        line = QT_TRANSLATE_NOOP("vantelo::text",
                                 "DatabaseUrl에 암호가 들어 있어 쓰지 않습니다. 암호는 "
                                 "~/.pgpass에 두십시오.");
    else if (status.code() == storage::ErrorCode::Incompatible)
        line = QT_TRANSLATE_NOOP("vantelo::text",
                                 "공유 데이터베이스가 이 프로그램보다 새 형식이라 열지 않습니다. "
                                 "프로그램을 새로 설치하십시오.");
    else if (status.code() == storage::ErrorCode::Io)
        line = QT_TRANSLATE_NOOP("vantelo::text", "공유 저장소에 연결할 수 없습니다");
    return std::string(line) + "\n" + detail;
}

std::string ServerPrepareNotice(const storage::PrepareReport& report) {
    if (report.readOnly)
        return QT_TRANSLATE_NOOP("vantelo::text",
                                 "공유 데이터베이스를 읽기 전용으로 열었습니다(쓰기 권한 없음).");
    if (!report.notes.empty())
        return QT_TRANSLATE_NOOP("vantelo::text",
                                 "공유 데이터베이스에 pg_trgm 확장이 없어 통화내역 검색이 "
                                 "느립니다.");
    return {};
}

std::string PrepareNotice(const storage::PrepareReport& report) {
    if (report.movedAside.empty())
        return {};
    return "데이터베이스 파일을 읽을 수 없어 " + report.movedAside.filename().string() +
           "(으)로 옮기고 새 파일을 만들었습니다.";
}

std::string PrepareFailureNotice(const storage::Status& status) {
    switch (status.code()) {
        case storage::ErrorCode::None:
            return {};
        case storage::ErrorCode::Damaged:
            return std::string("데이터베이스 파일 ") + kDatabaseFileName +
                   "이(가) 손상되어 그대로 두었습니다. 'vtdb check'로 검사하고 'vtdb recover "
                   "새파일'로 "
                   "읽을 수 있는 내용을 옮기십시오.";
        case storage::ErrorCode::Incompatible:
            return std::string("데이터베이스 파일 ") + kDatabaseFileName +
                   "은(는) 이 프로그램이 쓸 수 없는 형식이라 그대로 두었습니다: " +
                   status.message();
        case storage::ErrorCode::ReadOnly:
            return std::string("데이터베이스 파일 ") + kDatabaseFileName +
                   "에 쓸 수 없습니다(읽기 전용): " + status.message();
        default:
            return std::string("데이터베이스 파일 ") + kDatabaseFileName +
                   "을(를) 열 수 없습니다: " + status.ToString();
    }
}

}  // namespace vantelo
