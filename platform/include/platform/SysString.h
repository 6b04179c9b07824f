#pragma once
// Counted byte strings handed to callers, who free them. A BSTR points at
// the bytes; the 32-bit byte length sits just before them and a NUL just
// after, so a BSTR can be read as a C string and may hold any byte.

#ifdef __cplusplus
extern "C" {
#endif

typedef char* BSTR;

// Copies `length` bytes of `data` (zero bytes when data is null). Returns
// null only when memory runs out.
BSTR SysAllocStringByteLen(const char* data, unsigned int length);

// Byte length of a BSTR; 0 for null.
unsigned int SysStringByteLen(BSTR text);

// Frees a BSTR; null is ignored.
void SysFreeString(BSTR text);

#ifdef __cplusplus
}
#endif
