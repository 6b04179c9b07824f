#include "vantelo/core/VanteloDatabase.h"

#include "platform/Folders.h"
#include "platform/Translate.h"
#include "platform/TranslateNoop.h"
#include "storage/Connection.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/core/ContactRecord.h"
#include "vantelo/core/DeskChannel.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/SharedRecordings.h"

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
    // Added to older files by the preparation at start, and filled there.
    for (const NumberKeyColumn& column : kNumberKeyColumns)
        t.columns.push_back({column.key, ColumnType::Text});
    // Caller-ID matching compares these; the pages filter by name and group.
    t.indexes = {{"HomePhone"},     {"CellPhone"}, {"CompanyPhone1"},
                 {"CompanyPhone2"}, {"Name"},      {"Group"}};
    for (const NumberKeyColumn& column : kNumberKeyColumns) t.indexes.push_back({column.key});
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

TableSchema CardDavStateSchema() {
    TableSchema t;
    t.name = "CardDavState";
    t.columns = {{"ContactId", ColumnType::Long},  {"Href", ColumnType::Text, 2048},
                 {"ETag", ColumnType::Text, 1024}, {"Card", ColumnType::Text, 4 << 20},
                 {"LocalEdits", ColumnType::Long}, {"LocalDeleted", ColumnType::YesNo}};
    t.indexes = {{"ContactId"}, {"Href"}};
    return t;
}

TableSchema CardDavBookSchema() {
    TableSchema t;
    t.name = "CardDavBook";
    t.columns = {{"Url", ColumnType::Text, 2048}, {"SyncToken", ColumnType::Text, 2048}};
    return t;
}

TableSchema ContactEditLogSchema() {
    TableSchema t;
    t.name = "ContactEditLog";
    t.columns = {{"EditUid", ColumnType::Text, 36}, {"ContactId", ColumnType::Long}};
    t.uniqueWhenSet = {"EditUid"};
    return t;
}

std::vector<TableSchema> PhoneTables() {
    return {AddressListSchema(), InnerLineListSchema(), CallListSchema(),   BlockListSchema(),
            HeardListSchema(),   CardDavStateSchema(),  CardDavBookSchema()};
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
    m.push_back({3, "recordings", [](storage::Connection& c, std::vector<std::string>&) {
                     return CreateRecordingTables(c);
                 }});
    m.push_back(
        {4, "contact edits handed over", [](storage::Connection& c, std::vector<std::string>&) {
             return storage::CreateServerTable(c, ContactEditLogSchema());
         }});
    m.push_back(
        {5, "news between desks", [](storage::Connection& c, std::vector<std::string>&) {
             // Every desk's pages show another desk's changes at once.
             for (const char* table : {"CallList", "AddressList", "InnerLineList", "BlockList"}) {
                 storage::Status s = storage::CreateNotifyTrigger(c, table, kTableChannel);
                 if (!s.ok())
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
    auto report = IsSharedDatabase(file) ? PrepareServer(file)
                                         : storage::PrepareDatabaseFile(file, PhoneTables(), clock);
    if (!report.ok())
        return report;
    // Numbers written by other programs (or before the key columns came)
    // get their national form now. A file that cannot be written, or a
    // write that fails, leaves them to the next start: until then those
    // numbers are matched as written.
    CRSAddressList book;
    CRSInnerLineList inner;
    for (ContactRecordSet* set :
         {static_cast<ContactRecordSet*>(&book), static_cast<ContactRecordSet*>(&inner)}) {
        auto stored = set->StoreMissingNumberKeys(file);
        if (stored.ok() && stored.value() > 0)
            report.value().changed = true;
    }
    return report;
}

namespace {
constexpr const char* kContext = "VanteloDatabase";
}  // namespace

std::string ServerFailureNotice(const storage::Status& status) {
    const std::string& detail = status.message();
    const char* line = QT_TRANSLATE_NOOP("VanteloDatabase", "공유 데이터베이스를 열 수 없습니다.");
    if (detail.find("carries a password") != std::string::npos)
        line = QT_TRANSLATE_NOOP("VanteloDatabase",
                                 "DatabaseUrl에 암호가 들어 있어 쓰지 않습니다. 암호는 "
                                 "~/.pgpass에 두십시오.");
    else if (status.code() == storage::ErrorCode::Incompatible)
        line = QT_TRANSLATE_NOOP("VanteloDatabase",
                                 "공유 데이터베이스가 이 프로그램보다 새 형식이라 열지 않습니다. "
                                 "프로그램을 새로 설치하십시오.");
    else if (status.code() == storage::ErrorCode::Io)
        line = QT_TRANSLATE_NOOP("VanteloDatabase", "공유 저장소에 연결할 수 없습니다");
    return vt::Translate(kContext, line) + "\n" + detail;
}

std::string ServerPrepareNotice(const storage::PrepareReport& report) {
    if (report.readOnly)
        return vt::Translate(
            kContext,
            QT_TRANSLATE_NOOP("VanteloDatabase",
                              "공유 데이터베이스를 읽기 전용으로 열었습니다(쓰기 권한 없음)."));
    if (!report.notes.empty())
        return vt::Translate(kContext, QT_TRANSLATE_NOOP("VanteloDatabase",
                                                         "공유 데이터베이스에 pg_trgm 확장이 없어 "
                                                         "통화내역 검색이 느립니다."));
    return {};
}

std::string PrepareNotice(const storage::PrepareReport& report) {
    if (report.movedAside.empty())
        return {};
    return vt::Translate(kContext,
                         QT_TRANSLATE_NOOP("VanteloDatabase",
                                           "데이터베이스 파일을 읽을 수 없어 %1(으)로 옮기고 새 "
                                           "파일을 만들었습니다."),
                         {report.movedAside.filename().string()});
}

std::string PrepareFailureNotice(const storage::Status& status) {
    switch (status.code()) {
        case storage::ErrorCode::None:
            return {};
        case storage::ErrorCode::Damaged:
            return vt::Translate(
                kContext,
                QT_TRANSLATE_NOOP("VanteloDatabase",
                                  "데이터베이스 파일 %1이(가) 손상되어 그대로 두었습니다. 'vtdb "
                                  "check'로 검사하고 'vtdb recover 새파일'로 읽을 수 있는 내용을 "
                                  "옮기십시오."),
                {kDatabaseFileName});
        case storage::ErrorCode::Incompatible:
            return vt::Translate(kContext,
                                 QT_TRANSLATE_NOOP("VanteloDatabase",
                                                   "데이터베이스 파일 %1은(는) 이 프로그램이 쓸 수 "
                                                   "없는 형식이라 그대로 두었습니다: %2"),
                                 {kDatabaseFileName, status.message()});
        case storage::ErrorCode::ReadOnly:
            return vt::Translate(kContext,
                                 QT_TRANSLATE_NOOP("VanteloDatabase",
                                                   "데이터베이스 파일 %1에 쓸 수 없습니다(읽기 "
                                                   "전용): %2"),
                                 {kDatabaseFileName, status.message()});
        default:
            return vt::Translate(kContext,
                                 QT_TRANSLATE_NOOP("VanteloDatabase",
                                                   "데이터베이스 파일 %1을(를) 열 수 없습니다: %2"),
                                 {kDatabaseFileName, status.ToString()});
    }
}

}  // namespace vantelo
