// The start-up comparison is only fair while the floor shows the same kind of line as the strip: the same
// segments and literals, in the same font face, weight and height. Starts Zelmo3.exe and zelmo_floor.exe one
// after the other (fresh copies, no settings file) and compares what their labels hold and measure:
//   - the label texts with every digit read as 0 (the readings themselves move between the two starts);
//   - the label's height, which is one line of its font, and its width, which the face and the weight set
//     (Tahoma's digits all have one width, so equal texts up to digits measure equally).
// Exit status 0: same kind of line; 1: it differs; 2: a program could not be run; 77: no display.
//
//   zelmo_line_check <Zelmo3.exe> <zelmo_floor.exe>
#include "Launch.h"
#include "WinProgram.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>

namespace {

using zelmo::bench::FreshRun;
using zelmo::bench::ProgramIdentity;

constexpr int NoDisplay = 77;

struct Shown {
    std::wstring Text;
    SIZE Label{};
};

bool Show(const ProgramIdentity& program, int serial, Shown& shown) {
    FreshRun run(program, serial);
    if (!run.StartAndWaitVisible()) {
        return false;
    }
    const HWND label = ::GetWindow(run.Window(), GW_CHILD);
    if (label == nullptr) {
        std::fprintf(stderr, "%s: the strip has no label\n", program.Label);
        return false;
    }
    shown.Text.assign(static_cast<std::size_t>(::GetWindowTextLengthW(label)) + 1, L'\0');
    shown.Text.resize(
        static_cast<std::size_t>(::GetWindowTextW(label, shown.Text.data(), static_cast<int>(shown.Text.size()))));
    RECT client{};
    ::GetClientRect(label, &client);
    shown.Label = {client.right, client.bottom};
    std::printf("%-10s label %ld x %ld: \"%ls\"\n", program.Label, shown.Label.cx, shown.Label.cy, shown.Text.c_str());
    return true;
}

std::wstring DigitsAsZero(std::wstring text) {
    for (wchar_t& c : text) {
        c = std::iswdigit(c) ? L'0' : c;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelmo_line_check <Zelmo3.exe> <zelmo_floor.exe>\n");
        return 2;
    }
    if (!zelmo::test::DisplayUsable()) {
        std::printf("zelmo_line_check: no display, skipped\n");
        return NoDisplay;
    }
    const ProgramIdentity zelmo{"Zelmo3", zelmo::test::WindowsPath(argv[1]), L"TZelmoMain", L"ZelmoMain"};
    const ProgramIdentity floor{"floor", zelmo::test::WindowsPath(argv[2]), L"ZelmoFloor", L"ZelmoFloor"};
    Shown z, f;
    if (!Show(zelmo, 1, z) || !Show(floor, 2, f)) {
        return 2;
    }
    int failures = 0;
    const auto expect = [&failures](bool ok, const char* what) {
        std::printf("%s: %s\n", what, ok ? "same" : "DIFFERENT");
        failures += ok ? 0 : 1;
    };
    expect(!z.Text.empty() && DigitsAsZero(z.Text) == DigitsAsZero(f.Text), "line (digits read as 0)");
    expect(z.Label.cy > 0 && z.Label.cy == f.Label.cy, "line height");
    expect(z.Label.cx > 0 && z.Label.cx == f.Label.cx, "line width (face and weight)");
    return failures == 0 ? 0 : 1;
}
