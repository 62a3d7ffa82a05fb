#include "keys/AdvancedKeyBindings.h"

#include "device/AdvancedKeyTables.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"

namespace {

constexpr int kModeBits = 0x30;
constexpr int kModeAFirst = 0x10;
constexpr int kModeBFirst = 0x20;
constexpr int kOksBoth = 0x10;
constexpr int kOksOnlyA = 0x20;
constexpr int kOksOnlyB = 0x30;

const wchar_t* BindingName(int macroType)
{
    switch (macroType) {
        case KMT_DKS:
            return L"DKS";
        case KMT_MT:
            return L"MT";
        case KMT_TGL:
            return L"TGL";
        case KMT_RS:
            return L"RS";
        case KMT_SOCD:
            return L"SOCD";
        default:
            return L"OKS";
    }
}

}  // namespace

int MirroredSocdMode(int mode)
{
    const int bits = mode & kModeBits;
    const int mirrored = bits == kModeAFirst   ? kModeBFirst
                         : bits == kModeBFirst ? kModeAFirst
                                               : bits;
    return (mode & ~kModeBits) | mirrored;
}

AdvancedKeyBinding BindAdvancedKey(const MagneticKeyRecord& key, int currentKey,
                                   const std::function<KeyMacroRecord(int code)>& load)
{
    AdvancedKeyBinding binding;
    binding.tableBit = AdvTableBitOf(key.macro_type);
    const auto bound = [&](int code, int partner) {
        KeyMacroRecord row = load(code);
        row.macro_type = key.macro_type;
        row.macro_value = key.macro_id;
        if (partner >= 0) {
            row.macro_value2 = key.key_value;
            row.macro_value3 = partner;
        }
        row.macro_desc = BindingName(key.macro_type);
        return row;
    };
    if (key.macro_type == KMT_DKS || key.macro_type == KMT_MT || key.macro_type == KMT_TGL) {
        if (currentKey > 0) binding.rows.push_back(bound(currentKey, -1));
        return binding;
    }
    if (key.macro_type < KMT_RS || key.macro_type > KMT_OKS) return binding;
    const auto pair = static_cast<uint32_t>(key.key_value);
    const int a = static_cast<int>(pair & 0xFFFF);
    const int b = static_cast<int>(pair >> 16);
    const int press = key.key2_value & 0xFFFF;
    const int release = (key.key2_value >> 16) & 0xFFFF;
    const auto perf = [&](int code, int mode) {
        binding.perf.push_back(PairKeyPerf{code, mode, key.reserved, press, release});
    };
    const auto unbound = [&](int code) {
        KeyMacroRecord row = load(code);
        row.macro_type = KMT_NONE;
        row.macro_value = code;
        row.macro_value2 = 0;
        row.macro_value3 = 0;
        row.macro_desc = KeyNameTable::GetInstance().KeyUsageToName(code);
        binding.rows.push_back(row);
    };
    if (key.macro_type != KMT_OKS) {
        binding.rows.push_back(bound(a, b));
        binding.rows.push_back(bound(b, a));
        perf(a, key.key1_value);
        perf(b, key.macro_type == KMT_SOCD ? MirroredSocdMode(key.key1_value) : key.key1_value);
        return binding;
    }
    switch (key.key1_value & kModeBits) {
        case kOksBoth:
            binding.rows.push_back(bound(a, b));
            binding.rows.push_back(bound(b, a));
            perf(a, key.key1_value);
            perf(b, key.key1_value);
            break;
        case kOksOnlyA:
            binding.rows.push_back(bound(a, b));
            unbound(b);
            perf(a, key.key1_value);
            break;
        case kOksOnlyB:
            binding.rows.push_back(bound(b, a));
            unbound(a);
            perf(b, key.key1_value);
            break;
        default:
            break;
    }
    return binding;
}
