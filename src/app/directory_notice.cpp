#include "app/directory_notice.h"

namespace velnor {
namespace {

const char* const kNotKept = "記録とゴーストは保存されません。";

std::string playingFrom(const GameDirectory& directory) {
    return "インストールされたデータ " + directory.path + " で遊びます。" + kNotKept;
}

} // namespace

std::string directoryNotice(const GameDirectory& directory) {
    using Problem = GameDirectory::Problem;
    const std::string why = directory.reason.empty() ? "" : "（" + directory.reason + "）";
    switch (directory.problem) {
    case Problem::kNone:
        return {};
    case Problem::kMissing:
        return "ゲームディレクトリ " + directory.problemPath + " がありません。";
    case Problem::kCannotMake:
        return "ゲームディレクトリ " + directory.problemPath + " を作れません" + why + "。\n" +
               playingFrom(directory);
    case Problem::kCannotWrite:
        return "ゲームディレクトリ " + directory.path + " に書き込めません" + why + "。\n" +
               (directory.problemPath == directory.path ? "" : directory.problemPath + "\n") +
               kNotKept;
    case Problem::kNoUserDir:
        return std::string("ゲームディレクトリを置くホームディレクトリがありません。\n") +
               playingFrom(directory);
    case Problem::kNoInstalledData:
        return "インストールされたゲームデータが見つかりません。\nゲームディレクトリ " +
               directory.path + " にあるファイルだけで遊びます。";
    }
    return {};
}

} // namespace velnor
