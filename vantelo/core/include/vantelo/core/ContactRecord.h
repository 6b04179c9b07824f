#pragma once
// The 18 text fields of a contact in table column order (after ID), as the
// contact editor hands them to the address book and inner-line pages.

#include <array>
#include <string>

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

struct ContactRecord {
    std::array<std::string, 18> fields;

    // Field by column name; nullptr for a name that is not a contact field.
    std::string* Field(std::string_view name);
    const std::string* Field(std::string_view name) const;

    // The current record of a contact record set.
    static storage::Result<ContactRecord> Read(storage::RecordSet& set);
    // Into the edit buffer (after AddNew or Edit).
    storage::Status Write(storage::RecordSet& set) const;
};

}  // namespace vantelo
