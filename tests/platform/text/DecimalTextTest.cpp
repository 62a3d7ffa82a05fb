#include "platform/text/DecimalText.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/text/Utf8.h"

namespace {

TEST(StrictDecimalToInt, TakesOnlyASignAndDigitsWithinThe32BitRange)
{
    const struct {
        const wchar_t* text;
        std::optional<int32_t> value;
    } cases[] = {
        {L"", 0},
        {L"0", 0},
        {L"42", 42},
        {L"-7", -7},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"99999999999999999999", std::nullopt},
        {L"abc", std::nullopt},
        {L"2x", std::nullopt},
        {L" 5", std::nullopt},
        {L"5 ", std::nullopt},
        {L"+5", std::nullopt},
        {L"-", std::nullopt},
        {L"0x10", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrictDecimalToInt(c.text), c.value) << text::WideToUtf8(c.text);
    }
    // The lenient reader of edits and the registry takes what the strict one refuses.
    EXPECT_EQ(DecimalTextToInt(L"2x"), 2);
    EXPECT_EQ(DecimalTextToInt(L" 5"), 5);
}

}  // namespace
