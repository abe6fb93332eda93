#include "shared/SettingsRecord.h"

#include <climits>
#include <cstring>

namespace {

enum KeyKind { kSwitch, kU8, kU16, kI16, kI32, kU32, kRectSide, kText, kLayout };

struct SwitchTag {};
struct LayoutTag {};

// One key of the table: its name, its kind and where its value lives.
struct KeyEntry
{
    constexpr KeyEntry(const char* n, uint8_t SettingsRecord::*m, int32_t d)
        : name(n), kind(kU8), def(d), u8(m) {}
    constexpr KeyEntry(const char* n, uint16_t SettingsRecord::*m, int32_t d)
        : name(n), kind(kU16), def(d), u16(m) {}
    constexpr KeyEntry(const char* n, int16_t SettingsRecord::*m, int32_t d)
        : name(n), kind(kI16), def(d), i16(m) {}
    constexpr KeyEntry(const char* n, int32_t SettingsRecord::*m, int32_t d)
        : name(n), kind(kI32), def(d), i32(m) {}
    constexpr KeyEntry(const char* n, uint32_t SettingsRecord::*m, int32_t d)
        : name(n), kind(kU32), def(d), u32(m) {}
    constexpr KeyEntry(SwitchTag, const char* n, uint32_t SettingsRecord::*word, int b, int32_t d)
        : name(n), kind(kSwitch), def(d), bit(b), u32(word) {}
    constexpr KeyEntry(const char* n, SettingsRect SettingsRecord::*r, int32_t SettingsRect::*s)
        : name(n), kind(kRectSide), def(0), side(s), rect(r) {}
    constexpr KeyEntry(const char* n, CString SettingsRecord::*m)
        : name(n), kind(kText), def(0), text(m) {}
    constexpr KeyEntry(LayoutTag, const char* n)
        : name(n), kind(kLayout), def(0), none(nullptr) {}

    const char* name;
    KeyKind kind;
    int32_t def;
    int bit = 0;
    int32_t SettingsRect::*side = nullptr;
    union {
        uint8_t SettingsRecord::*u8;
        uint16_t SettingsRecord::*u16;
        int16_t SettingsRecord::*i16;
        int32_t SettingsRecord::*i32;
        uint32_t SettingsRecord::*u32;      // also the word of a switch
        SettingsRect SettingsRecord::*rect;
        CString SettingsRecord::*text;
        std::nullptr_t none;
    };
};

#define VA_KEY_SWITCH(word, b, key, d) KeyEntry(SwitchTag(), #key, &SettingsRecord::dwOptionBits##word, b, d),
#define VA_KEY_NUMBER(member, d) KeyEntry(#member, &SettingsRecord::member, d),
#define VA_KEY_RECT_SIDE(member, s) KeyEntry(#member "." #s, &SettingsRecord::member, &SettingsRect::s),
#define VA_KEY_TEXT(member) KeyEntry(#member, &SettingsRecord::member),
#define VA_KEY_LAYOUT(key) KeyEntry(LayoutTag(), #key),

// Constant-initialised, so records constructed during static initialisation
// of other files (the application object) already see it.
constexpr KeyEntry kKeys[] = {
    VA_SETTINGS_KEYS(VA_KEY_SWITCH, VA_KEY_NUMBER, VA_KEY_RECT_SIDE, VA_KEY_TEXT, VA_KEY_LAYOUT)
};

#undef VA_KEY_SWITCH
#undef VA_KEY_NUMBER
#undef VA_KEY_RECT_SIDE
#undef VA_KEY_TEXT
#undef VA_KEY_LAYOUT

constexpr int kKeyCount = static_cast<int>(sizeof(kKeys) / sizeof(kKeys[0]));

bool IsValidIndex(int index)
{
    return index >= 0 && index < kKeyCount;
}

// Stores v in the key's field, cut to the field's width (two's complement
// wrap, as the record's narrow fields keep the low bits).
void StoreNumber(SettingsRecord& record, const KeyEntry& key, int32_t v)
{
    const uint32_t bits = static_cast<uint32_t>(v);
    switch (key.kind) {
    case kSwitch: SettingsRecord::SetOptionBit(record.*key.u32, key.bit, (bits & 1u) != 0); break;
    case kU8: record.*key.u8 = static_cast<uint8_t>(bits); break;
    case kU16: record.*key.u16 = static_cast<uint16_t>(bits); break;
    case kI16: record.*key.i16 = static_cast<int16_t>(static_cast<uint16_t>(bits)); break;
    case kI32: record.*key.i32 = v; break;
    case kU32: record.*key.u32 = bits; break;
    case kRectSide: (record.*key.rect).*key.side = v; break;
    case kText:
    case kLayout: break;
    }
}

} // namespace

SettingsRecord::SettingsRecord()
{
    for (const KeyEntry& key : kKeys)
        StoreNumber(*this, key, key.def);
    bStatusShowMirror(true);
}

SettingsRecord::SettingsRecord(const SettingsRecord& src) = default;
SettingsRecord& SettingsRecord::operator=(const SettingsRecord& src) = default;
SettingsRecord::~SettingsRecord() = default;

void SettingsRecord::CopyFrom(const SettingsRecord* src)
{
    if (src == nullptr || src == this)
        return;
    const uint32_t keptBits = dwOptionBits3 & ~kOptionBits3Mask;
    *this = *src;
    dwOptionBits3 = (src->dwOptionBits3 & kOptionBits3Mask) | keptBits;
}

int SettingsRecord::GetKeyCount()
{
    return kKeyCount;
}

LPCTSTR SettingsRecord::GetKeyName(int index)
{
    return IsValidIndex(index) ? kKeys[index].name : nullptr;
}

int SettingsRecord::FindKey(LPCTSTR name)
{
    if (name == nullptr)
        return -1;
    for (int i = 0; i < kKeyCount; ++i) {
        if (std::strcmp(kKeys[i].name, name) == 0)
            return i;
    }
    return -1;
}

bool SettingsRecord::IsLayoutKey(int index)
{
    return IsValidIndex(index) && kKeys[index].kind == kLayout;
}

CString SettingsRecord::GetKeyValue(int index) const
{
    CString value;
    if (!IsValidIndex(index))
        return value;
    const KeyEntry& key = kKeys[index];
    switch (key.kind) {
    case kSwitch: value = ((this->*key.u32 >> key.bit) & 1u) ? "1" : "0"; break;
    case kU8: value.Format("%u", static_cast<unsigned>(this->*key.u8)); break;
    case kU16: value.Format("%u", static_cast<unsigned>(this->*key.u16)); break;
    case kI16: value.Format("%d", static_cast<int>(this->*key.i16)); break;
    case kI32: value.Format("%d", static_cast<int>(this->*key.i32)); break;
    // The one u32 number (dwDLControlFlags) is written signed.
    case kU32: value.Format("%d", static_cast<int>(static_cast<int32_t>(this->*key.u32))); break;
    case kRectSide: value.Format("%d", static_cast<int>((this->*key.rect).*key.side)); break;
    case kText: value = this->*key.text; break;
    case kLayout: break;
    }
    return value;
}

void SettingsRecord::SetKeyValue(int index, LPCTSTR value)
{
    if (!IsValidIndex(index) || value == nullptr)
        return;
    const KeyEntry& key = kKeys[index];
    if (key.kind == kText)
        this->*key.text = value;
    else
        StoreNumber(*this, key, ParseSettingsNumber(value));
}

int32_t ParseSettingsNumber(LPCTSTR text)
{
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    // Accumulate the magnitude, stopping once it is beyond the int range.
    long long magnitude = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (*p - '0');
    }
    long long v = negative ? -magnitude : magnitude;
    if (v > INT_MAX)
        v = INT_MAX;
    if (v < INT_MIN)
        v = INT_MIN;
    return static_cast<int32_t>(v);
}
