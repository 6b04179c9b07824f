#include "vantelo/app/PromptInstaller.h"

#include "platform/Folders.h"
#include "platform/Translate.h"
#include "vantelo/core/AnsweringMachine.h"

namespace vantelo {

namespace fs = std::filesystem;

fs::path PromptInstaller::ShippedFolder() {
    return vt::ExecutableFolder().parent_path() / "share" / "vantelo" / "prompts";
}

std::string PromptInstaller::Install(const fs::path& appFolder, const fs::path& shipped) {
    const fs::path target = appFolder / kPromptFolderName;
    std::error_code ec;
    if (!fs::is_directory(shipped, ec))
        return {};
    if (!vt::EnsureFolder(target, 0700))
        return vt::Translate("PromptInstaller",
                             QT_TRANSLATE_NOOP("PromptInstaller", "%1: 폴더를 만들 수 없습니다"),
                             {target.string()});
    for (const char* name : {kPrompt1File, kPrompt2File, kPrompt8File, kPrompt9File,
                             kDefaultGreetingFile, kScreeningPromptFile}) {
        const fs::path source = shipped / name;
        const fs::path destination = target / name;
        if (!fs::is_regular_file(source, ec))
            continue;
        // Anything at the name, even a dangling link, is the user's.
        if (fs::symlink_status(destination, ec).type() != fs::file_type::not_found)
            continue;
        if (!fs::copy_file(source, destination, ec))
            return destination.string() + ": " + ec.message();
        fs::permissions(destination, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::replace, ec);
    }
    return {};
}

}  // namespace vantelo
