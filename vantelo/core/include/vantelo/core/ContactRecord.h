#pragma once
// The 18 text fields of a contact in table column order (after ID), as the
// contact editor hands them to the address book and inner-line pages.

#include <array>
#include <string>
#include <string_view>

#include "storage/RecordSet.h"

namespace vantelo {

inline constexpr std::array<const char*, 18> kContactFieldNames = {"Name",
                                                                   "Group",
                                                                   "HomePhone",
                                                                   "HomeAddress",
                                                                   "CellPhone",
                                                                   "CompanyName",
                                                                   "CompanyDepartment",
                                                                   "CompanyDuty",
                                                                   "CompanyAddress1",
                                                                   "CompanyAddress2",
                                                                   "CompanyPhone1",
                                                                   "CompanyPhone2",
                                                                   "CompanyInnerLine",
                                                                   "FaxNum",
                                                                   "Email",
                                                                   "WebPage",
                                                                   "LastCall",
                                                                   "Notes"};

// The telephone fields a caller is matched with, each with the column beside
// it that keeps its national form (directory::NationalNumber): a number
// written in any way ("+82 2-123-4567", "02)123-4567") is then found through
// an index. The key columns follow the 18 fields in both contact tables.
struct NumberKeyColumn {
    const char* field;
    const char* key;
};
inline constexpr std::array<NumberKeyColumn, 4> kNumberKeyColumns = {
    {{"HomePhone", "HomePhoneKey"},
     {"CellPhone", "CellPhoneKey"},
     {"CompanyPhone1", "CompanyPhone1Key"},
     {"CompanyPhone2", "CompanyPhone2Key"}}};

// The key of a telephone field: its national form, or "-" for a field
// without a number, so that an empty key always means "not read yet" and
// the start finds the records others wrote through the index alone.
std::string NumberKey(std::string_view phone);

struct ContactRecord {
    std::array<std::string, 18> fields;

    // Field by column name; nullptr for a name that is not a contact field.
    std::string* Field(std::string_view name);
    const std::string* Field(std::string_view name) const;

    // The current record of a contact record set.
    static storage::Result<ContactRecord> Read(storage::RecordSet& set);
    // Into the edit buffer (after AddNew or Edit), with the national form of
    // each telephone field where the table keeps it.
    storage::Status Write(storage::RecordSet& set) const;
};

}  // namespace vantelo
