// The handle owners: every handle closed exactly once, whichever way ownership moves, and creations that
// fail raised naming the call.
#include "platform/Handles.h"
#include "status/Error.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <vector>

namespace zelmo::win {
namespace {

// Handles are numbers here; closing one records it, so a leak or a second close shows in the record.
struct CountingTraits {
    using Handle = int;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle h) noexcept { Closed.push_back(h); }
    static inline std::vector<int> Closed;
};
using Owner = UniqueAny<CountingTraits>;

TEST(UniqueAny, EveryHandleIsClosedOnceWhicheverWayOwnershipMoves) {
    struct Case {
        const char* Name;
        std::function<void(Owner& a, Owner& b)> Act; // a starts with handle 1, b with handle 2
        std::vector<int> ClosedByAct;
        int A, B;                     // what the owners hold after the act
        std::vector<int> ClosedAtEnd; // after both owners are gone (b goes first)
    };
    const Case cases[] = {
        {"move-construct", [](Owner& a, Owner&) { Owner c(std::move(a)); }, {1}, 0, 2, {1, 2}},
        {"move-assign onto a full owner", [](Owner& a, Owner& b) { b = std::move(a); }, {2}, 0, 1, {2, 1}},
        {"move-assign onto itself",
         [](Owner& a, Owner&) {
             Owner& same = a;
             a = std::move(same);
         },
         {},
         1,
         2,
         {2, 1}},
        {"reset to another handle", [](Owner& a, Owner&) { a.reset(3); }, {1}, 3, 2, {1, 2, 3}},
        {"reset to nothing", [](Owner& a, Owner&) { a.reset(); }, {1}, 0, 2, {1, 2}},
        {"release", [](Owner& a, Owner&) { EXPECT_EQ(a.release(), 1); }, {}, 0, 2, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CountingTraits::Closed.clear();
        {
            Owner a(1);
            Owner b(2);
            c.Act(a, b);
            EXPECT_EQ(CountingTraits::Closed, c.ClosedByAct);
            EXPECT_EQ(a.get(), c.A);
            EXPECT_EQ(static_cast<bool>(a), c.A != 0);
            EXPECT_EQ(b.get(), c.B);
        }
        EXPECT_EQ(CountingTraits::Closed, c.ClosedAtEnd);
    }
}

bool KernelHandleOpen(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueAny, RealHandlesAreClosedWithTheirOwner) {
    HANDLE event = nullptr;
    HBRUSH brush = nullptr;
    {
        const auto ownedEvent =
            Checked<UniqueHandle>([] { return ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }, ErrorText::Unexpected);
        const auto ownedBrush = Checked<UniqueBrush>([] { return ::CreateSolidBrush(RGB(1, 2, 3)); }, ErrorText::Brush);
        event = ownedEvent.get();
        brush = ownedBrush.get();
        ASSERT_TRUE(KernelHandleOpen(event));
        ASSERT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_FALSE(KernelHandleOpen(event));
    EXPECT_EQ(::GetObjectType(brush), 0u);
}

TEST(UniqueAny, FailedCreationRaisesWhatCouldNotBeDoneAndTheSystemsCause) {
    // GDI's creators often fail without a code: "the operation completed successfully" is no cause, and
    // neither is a code an earlier call left behind.
    for (const DWORD code : {DWORD{ERROR_NOT_ENOUGH_MEMORY}, DWORD{ERROR_SUCCESS}}) {
        ::SetLastError(ERROR_MOD_NOT_FOUND);
        try {
            static_cast<void>(Checked<UniqueFont>(
                [code] {
                    if (code != ERROR_SUCCESS) {
                        ::SetLastError(code);
                    }
                    return HFONT{};
                },
                ErrorText::Font));
            FAIL() << "no error raised";
        } catch (const EZelmoError& e) {
            const std::wstring_view what = L"フォントを作成できません";
            EXPECT_EQ(e.Message().rfind(code == ERROR_SUCCESS ? what : std::wstring(what) + L"\r\n", 0), 0u);
            EXPECT_EQ(e.Message().size() > what.size(), code != ERROR_SUCCESS) << "the system's text follows";
        }
    }
}

} // namespace
} // namespace zelmo::win
