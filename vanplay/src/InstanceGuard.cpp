#include "vanplay/InstanceGuard.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstring>

#include "platform/Folders.h"
#include "vanplay/PlayerIds.h"

namespace vanplay {

InstanceGuard::InstanceGuard() : lock_(kInstanceName) {}

InstanceGuard::Outcome InstanceGuard::Acquire() {
    if (lock_.Acquire())
        return Outcome::Acquired;
    // Refused: either another holder has it, or the lock cannot be made.
    std::string folderError;
    if (vt::RuntimeFolder(&folderError).empty()) {
        error_ = folderError;
        return Outcome::Failed;
    }
    const int fd =
        ::open(lock_.LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = std::strerror(errno);
        return Outcome::Failed;
    }
    ::close(fd);
    return Outcome::AlreadyRunning;
}

bool InstanceGuard::AcquireOrWarn() {
    const Outcome outcome = Acquire();
    if (outcome == Outcome::Acquired)
        return true;
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kWarningCaption),
                    outcome == Outcome::AlreadyRunning
                        ? QCoreApplication::translate("vanplay", kAlreadyRunning)
                        : QString::fromStdString(error_),
                    QMessageBox::Ok);
    if (outcome == Outcome::AlreadyRunning)
        box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint);
    box.exec();
    return false;
}

}  // namespace vanplay
