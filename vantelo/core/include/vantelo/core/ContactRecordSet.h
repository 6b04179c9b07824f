#pragma once
// What the contact book and the inner-line list share: the field binding of
// the 19 columns, the three filter parts (index, group, search) joined in
// that order with " AND ", and the caller-ID match.

#include <filesystem>
#include <string>
#include <string_view>

#include "storage/RecordSet.h"
#include "vantelo/core/ContactRecord.h"

namespace vantelo {

class ContactRecordSet : public storage::RecordSet {
public:
    // Opens the table as a dynaset on the database file and walks it to the end.
    storage::Status Open(const std::filesystem::path& database);
    storage::Status Open();  // the default database file

    // Index 1..14: the Hangul range of the first syllable; 0 and above 14 clear it.
    storage::Status SetIndex(int index);
    // A non-empty name keeps only that group; empty clears it.
    storage::Status SetGroup(std::string_view group);
    // Kinds of the table (see the subclasses); any other kind clears it.
    storage::Status SetSearch(int kind, std::string_view text);

    // The joined filter of the three parts.
    std::string AppliedFilter() const;
    // Sets the joined filter, re-queries and walks to the end.
    storage::Status ReApply();

    // The Name of the first record whose telephone fields equal the number
    // (with the outside-line code in front of an outside number) or whose
    // telephone numbers, in any writing, are the number's national form; or
    // empty.
    // The record set shows what it showed before afterwards.
    storage::Result<std::string> MatchNumber(std::string_view number, std::string_view strExt);
    // The same for a record set kept for lookups only: it is left filtered on
    // the number, which saves re-reading the whole list (a large book's list
    // takes tens of milliseconds, too long while a caller waits).
    storage::Result<std::string> FindName(std::string_view number, std::string_view strExt);
    // The number as the book stores it: an outside number that does not
    // begin with 0 carries the outside-line code in front.
    static std::string NumberAsStored(std::string_view number, std::string_view strExt);

    // Opens the table of `database` on its own and stores the key of every
    // telephone field whose key column is still empty (records written by
    // other programs or before the columns came), in one transaction. The
    // count of records changed.
    storage::Result<long> StoreMissingNumberKeys(const std::filesystem::path& database);

    const std::string& IndexCondition() const { return index_; }
    const std::string& GroupCondition() const { return group_; }
    const std::string& SearchCondition() const { return search_; }

    // Adds one contact (opening the record set first if needed).
    storage::Status AddContact(const ContactRecord& contact);
    // Replaces the fields of the current record.
    storage::Status StoreCurrent(const ContactRecord& contact);
    storage::Result<ContactRecord> CurrentContact();

    // The Hangul range of an index (1..14), or empty.
    static std::string IndexConditionFor(int index);

protected:
    explicit ContactRecordSet(storage::TableSchema schema);

    // The search condition of a kind for a text that is already escaped for
    // LIKE and quoting; empty for kinds without one.
    virtual std::string SearchConditionFor(int kind, const std::string& pattern) const = 0;
    // The telephone condition with the quoted search value and the quoted
    // national form (empty: none).
    virtual std::string TelephoneCondition(const std::string& quoted,
                                           const std::string& quotedKey) const = 0;

    // "[field] LIKE '*pattern*'"
    static std::string LikeCondition(const char* field, const std::string& pattern);
    // The LIKE condition over the four telephone fields, in parentheses.
    static std::string TelephoneLike(const std::string& pattern);
    // The equality over the four telephone fields (and the extension), and
    // over their national forms when a key is given, in parentheses.
    static std::string TelephoneEquals(const std::string& quoted, const std::string& quotedKey,
                                       bool withInnerLine);

private:
    storage::Status ApplyParts(std::string index, std::string group, std::string search);

    std::string index_;
    std::string group_;
    std::string search_;
};

}  // namespace vantelo
