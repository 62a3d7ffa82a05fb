// Structural checks of a document's element index, shared by the tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "xml/XmlDocument.h"

// Every entry lies inside the text and inside its parent, siblings are linked both ways in
// text order, and the first child's back link names the last child.
inline ::testing::AssertionResult IndexIsConsistent(const XmlDocument& doc)
{
    const XmlElementIndex& index = doc.GetIndex();
    const int count = doc.GetEntryCount();
    const auto size = static_cast<int64_t>(doc.GetText().size());
    auto fail = [](int i, const char* what) {
        return ::testing::AssertionFailure() << "entry " << i << ": " << what;
    };
    auto inRange = [count](int n) { return n >= 0 && n < count; };
    int linked = 0;
    for (int p = 0; p < count; ++p) {
        const XmlIndexEntry& parent = index[p];
        const int64_t parentEnd = p == 0 ? size : int64_t{parent.start} + parent.length;
        if (!inRange(parent.firstChild)) {
            return fail(p, "first child out of range");
        }
        int previous = 0;
        int64_t lastEnd = p == 0 ? 0 : parent.start + 1;
        for (int c = parent.firstChild; c != 0; c = index[c].next) {
            if (!inRange(c) || c == 0 || ++linked > count) {
                return fail(p, "broken child list");
            }
            const XmlIndexEntry& e = index[c];
            if (e.parent != p) {
                return fail(c, "wrong parent");
            }
            if (e.start < lastEnd || int64_t{e.start} + e.length > parentEnd ||
                e.startTagLength > e.length || e.startTagLength < 2 ||
                doc.GetText()[static_cast<size_t>(e.start)] != L'<') {
                return fail(c, "span outside its parent or out of order");
            }
            if (((e.flags & kXmlFirstChild) != 0) != (c == parent.firstChild)) {
                return fail(c, "first-child flag");
            }
            if (previous != 0 && e.previous != previous) {
                return fail(c, "previous link");
            }
            lastEnd = int64_t{e.start} + e.length;
            previous = c;
        }
        if (parent.firstChild != 0 && index[parent.firstChild].previous != previous) {
            return fail(p, "first child does not name the last child");
        }
    }
    if (linked != count - 1) {
        return ::testing::AssertionFailure() << linked << " of " << count - 1 << " entries linked";
    }
    return ::testing::AssertionSuccess();
}

// The index equals the one a fresh parse of the same text builds (entry numbers aside).
inline ::testing::AssertionResult IndexMatchesReparse(const XmlDocument& doc)
{
    XmlDocument fresh(doc.GetText());
    const XmlElementIndex& a = doc.GetIndex();
    const XmlElementIndex& b = fresh.GetIndex();
    std::string problem;
    auto same = [&](auto&& self, int x, int y) -> bool {
        const XmlIndexEntry& ex = a[x];
        const XmlIndexEntry& ey = b[y];
        if (x != 0 && (ex.start != ey.start || ex.length != ey.length ||
                       ex.startTagLength != ey.startTagLength ||
                       ex.endTagLength != ey.endTagLength || ex.Level() != ey.Level())) {
            problem = "element at " + std::to_string(ey.start) + " differs";
            return false;
        }
        int cx = ex.firstChild;
        int cy = ey.firstChild;
        for (; cx != 0 && cy != 0; cx = a[cx].next, cy = b[cy].next) {
            if (!self(self, cx, cy)) {
                return false;
            }
        }
        if (cx != cy) {
            problem = "child count differs under element at " + std::to_string(ey.start);
            return false;
        }
        return true;
    };
    if (doc.GetEntryCount() != fresh.GetEntryCount() || !same(same, 0, 0)) {
        return ::testing::AssertionFailure() << (problem.empty() ? "entry counts differ" : problem);
    }
    return ::testing::AssertionSuccess();
}
