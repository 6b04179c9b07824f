#include "vanconv/ColumnTitle.h"

#include <cstring>

#include "vanconv/ConvertFields.h"

namespace vanconv {

std::string TitleNumber(long number) {
    std::string letters;
    if (number / 26 != 0)
        letters += static_cast<char>(64 + number / 26);
    letters += static_cast<char>(65 + number % 26);
    return " - " + letters + " -";
}

int FieldIndex(const char* name) {
    for (int i = 0; i < kFieldCount; ++i)
        if (std::strcmp(kConvertFields[i].field, name) == 0)
            return i;
    return -1;
}

}  // namespace vanconv
