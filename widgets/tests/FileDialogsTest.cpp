// The dialogs of the factory: set up for each kind as asked, types by the
// file's name, and browsing a folder never opens its files (a process loses
// its locks on a file when it closes any descriptor of it).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testsupport/FileDialogProbe.h"
#include "testsupport/QtPump.h"
#include "testsupport/TestEnvironment.h"
#include "widgets/FileDialogs.h"

using vt::widgets::FileDialogs;

namespace {

namespace fs = std::filesystem;
using Kind = FileDialogs::Kind;

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

QString Canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The first bytes of the files that the MIME database knows by content.
const std::string kSqliteHeader("SQLite format 3\0", 16);
const std::string kPngHeader("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);

// True while this process holds a POSIX lock on `file` (the kernel's list).
bool HoldsLock(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return false;
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream in(line);
        std::string id, type, mode, access, deviceAndInode;
        long pid = 0;
        in >> id >> type;
        if (type == "->")  // a waiter, listed under the lock it waits for
            in >> type;
        in >> mode >> access >> pid >> deviceAndInode;
        const std::string inode = deviceAndInode.substr(deviceAndInode.rfind(':') + 1);
        if (type == "POSIX" && pid == ::getpid() && inode == std::to_string(st.st_ino))
            return true;
    }
    return false;
}

class FileDialogsTest : public ::testing::Test {
protected:
    FileDialogsTest() : folder_(env_.AppHome()) {
        fs::create_directories(folder_ / "Record");
        Write(folder_ / "VanteloDB1.db", kSqliteHeader + std::string(4080, '\0'));
        Write(folder_ / "VanteloDB1.db-wal", std::string(32, '\x37'));
        Write(folder_ / "VanteloDB1.db-shm", std::string(32, '\0'));
        Write(folder_ / "greeting.wav", "RIFF");
        Write(folder_ / "notes", kSqliteHeader);
    }

    vt::test::TestEnvironment env_;
    fs::path folder_;
};

struct KindCase {
    const char* what;
    FileDialogs::Request request;
    QFileDialog::FileMode mode;
    QFileDialog::AcceptMode accept;
    bool dirsOnly;
    const char* chosen;  // in the folder; what the user picks
};

std::vector<KindCase> KindCases() {
    FileDialogs::Request open(Kind::OpenFile, "Open File");
    open.filters = QStringList{"Sound Files (*.wav *.vrc)", "All Files (*)"};
    FileDialogs::Request save(Kind::SaveFile, "Export");
    save.fileName = "calls.csv";
    save.filters = QStringList{"CSV (*.csv)"};
    save.defaultSuffix = "csv";
    const FileDialogs::Request folder(Kind::Folder, "Select Destination");
    return {
        {"open", open, QFileDialog::ExistingFile, QFileDialog::AcceptOpen, false, "greeting.wav"},
        {"save", save, QFileDialog::AnyFile, QFileDialog::AcceptSave, false, "calls.csv"},
        {"folder", folder, QFileDialog::Directory, QFileDialog::AcceptOpen, true, "Record"},
    };
}

TEST_F(FileDialogsTest, EachKindIsQtsOwnDialogSetUpAsAskedAndGivesTheChoice) {
    for (KindCase c : KindCases()) {
        SCOPED_TRACE(c.what);
        c.request.folder = Q(folder_);
        const auto dialog = FileDialogs::Create(nullptr, c.request);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->iconProvider(), FileDialogs::IconProvider());
        EXPECT_EQ(dialog->windowTitle(), c.request.caption);
        EXPECT_EQ(dialog->fileMode(), c.mode);
        EXPECT_EQ(dialog->acceptMode(), c.accept);
        EXPECT_EQ(dialog->testOption(QFileDialog::ShowDirsOnly), c.dirsOnly);
        EXPECT_EQ(Canonical(dialog->directory().absolutePath()), Canonical(Q(folder_)));
        if (!c.request.filters.isEmpty()) {
            EXPECT_EQ(dialog->nameFilters(), c.request.filters);
            EXPECT_EQ(dialog->selectedNameFilter(), c.request.filters.front());
        }
        EXPECT_EQ(dialog->defaultSuffix(), c.request.defaultSuffix);
        if (!c.request.fileName.isEmpty()) {
            EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), c.request.fileName);
        }

        // The choice as a full path, through the modal loop; nothing when
        // cancelled.
        const QString chosen = Q(folder_ / c.chosen);
        QTimer::singleShot(0, dialog.get(), [&dialog, chosen] {
            // A name field with the focus would keep what the user typed.
            if (QWidget* typing = dialog->focusWidget())
                typing->clearFocus();
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog.get())->accept();
        });
        EXPECT_EQ(Canonical(FileDialogs::Choose(*dialog)), Canonical(chosen));
        QTimer::singleShot(0, dialog.get(), [&dialog] { dialog->reject(); });
        EXPECT_EQ(FileDialogs::Choose(*dialog), QString());
    }
}

TEST_F(FileDialogsTest, WithoutAFolderTheDialogStartsInTheCurrentOne) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(Q(folder_ / "Record"));
    const auto dialog = FileDialogs::Create(nullptr, {Kind::Folder, "Folder"});
    QDir::setCurrent(previous);
    EXPECT_EQ(Canonical(dialog->directory().absolutePath()), Canonical(Q(folder_ / "Record")));
}

TEST_F(FileDialogsTest, TypesComeFromTheNameNeverFromTheContent) {
    struct Case {
        const char* name;
        std::string content;
        const char* byName;   // the type its name gives
        bool contentDiffers;  // Qt's default would read the file and say otherwise
    };
    const Case cases[] = {
        {"records", kSqliteHeader, "application/octet-stream", true},
        {"VanteloDB1.db", kSqliteHeader, "application/octet-stream", true},
        {"photo", kPngHeader, "application/octet-stream", true},
        {"letter.png", "Dear Sir,\n", "image/png", false},
        {"VanteloDB1.db-wal", std::string(32, '\x37'), "application/octet-stream", true},
    };
    const QMimeDatabase mimes;
    QAbstractFileIconProvider* provider = FileDialogs::IconProvider();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = env_.Root() / c.name;
        Write(file, c.content);
        const QFileInfo info(Q(file));
        const QMimeType byName = mimes.mimeTypeForName(c.byName);
        ASSERT_TRUE(byName.isValid());
        EXPECT_EQ(mimes.mimeTypeForFile(info) != byName, c.contentDiffers);
        EXPECT_EQ(provider->type(info), byName.comment());
        EXPECT_FALSE(provider->icon(info).isNull());
    }
    // Folders keep Qt's own name.
    const QFileInfo folder(Q(folder_ / "Record"));
    EXPECT_EQ(provider->type(folder), QAbstractFileIconProvider().type(folder));
}

TEST_F(FileDialogsTest, BrowsingAFolderLeavesTheLocksOnItsFiles) {
    const char* const held[] = {"VanteloDB1.db", "VanteloDB1.db-wal", "VanteloDB1.db-shm", "notes",
                                "greeting.wav"};
    for (KindCase c : KindCases()) {
        SCOPED_TRACE(c.what);
        std::vector<int> descriptors;
        for (const char* name : held) {
            const int fd = ::open((folder_ / name).c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0) << name;
            descriptors.push_back(fd);
            struct flock lock {};
            lock.l_type = F_RDLCK;
            lock.l_whence = SEEK_SET;
            ASSERT_EQ(::fcntl(fd, F_SETLK, &lock), 0) << name;
            ASSERT_TRUE(HoldsLock(folder_ / name)) << name;
        }
        c.request.folder = Q(folder_);
        const auto dialog = FileDialogs::Create(nullptr, c.request);
        dialog->show();
        ASSERT_TRUE(vt::test::PumpUntil([&] { return vt::test::ListedItsFolder(*dialog); }));
        dialog->reject();
        for (const char* name : held) EXPECT_TRUE(HoldsLock(folder_ / name)) << name;
        for (int fd : descriptors) ::close(fd);
    }
}

}  // namespace
