#include "panel/shell_error_text.h"

#include "platform/text.h"

namespace tamvel {
namespace {

struct ShellError {
    int code;
    std::string_view text;
};

// Several texts end with a blank: it is part of the text and is shown.
constexpr ShellError kShellErrors[] = {
    {0, "The operating system is out of memory or resources."},
    {2, "ファイルがありません."},
    {3, "フォルダがありません."},
    {5, "ＯＳがファイルへのアクセスを拒否しました. "},
    {8, "メモリー不足です. "},
    {11, "実行ファイル .exe が不正です (non-Win32R .exe or error in .exe image). "},
    {26, "A sharing violation occurred. "},
    {27, "ファイル名との関連の仕方が不完全です. "},
    {28, "The DDE transaction could not be completed because the request timed out. "},
    {29, "The DDE transaction failed."},
    {30,
     "The DDE transaction could not be completed because other DDE transactions were being "
     "processed. "},
    {31, "拡張子と関連付けられたプログラムがありません. "},
    {32, "ＤＬＬファイルがありません. "},
};

}  // namespace

std::string_view ShellErrorText(int code) {
    for (const ShellError& error : kShellErrors) {
        if (error.code == code) return error.text;
    }
    return {};
}

void ReportShellError(Ui& ui, int code) {
    const std::string_view text = ShellErrorText(code);
    if (!text.empty()) ui.ShowMessage(Cp932(text));
}

void KeepShellResult(Ui& ui, int result, int& lastShellResult) {
    lastShellResult = result;
    if (result <= kShellLaunchSucceededAbove) ReportShellError(ui, result);
}

}  // namespace tamvel
