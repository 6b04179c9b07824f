#include "vantelo/core/ContactRecord.h"

#include "directory/PhoneNumber.h"

namespace vantelo {

std::string* ContactRecord::Field(std::string_view name) {
    for (size_t i = 0; i < kContactFieldNames.size(); ++i)
        if (name == kContactFieldNames[i])
            return &fields[i];
    return nullptr;
}

const std::string* ContactRecord::Field(std::string_view name) const {
    return const_cast<ContactRecord*>(this)->Field(name);
}

std::string NumberKey(std::string_view phone) {
    std::string key = directory::NationalNumber(phone);
    return key.empty() ? std::string("-") : key;
}

storage::Result<ContactRecord> ContactRecord::Read(storage::RecordSet& set) {
    ContactRecord r;
    for (size_t i = 0; i < kContactFieldNames.size(); ++i) {
        storage::Result<storage::Value> v = set.GetField(kContactFieldNames[i]);
        if (!v.ok())
            return v.status();
        r.fields[i] = v.value().AsText();
    }
    return r;
}

storage::Status ContactRecord::Write(storage::RecordSet& set) const {
    for (size_t i = 0; i < kContactFieldNames.size(); ++i) {
        storage::Status s = set.SetField(kContactFieldNames[i], fields[i]);
        if (!s.ok())
            return s;
    }
    for (const NumberKeyColumn& column : kNumberKeyColumns) {
        if (set.Schema().FindColumn(column.key) < 0)
            continue;
        storage::Status s = set.SetField(column.key, NumberKey(*Field(column.field)));
        if (!s.ok())
            return s;
    }
    return storage::Status::Ok();
}

}  // namespace vantelo
