#include "textio/save_journal.h"

#include "textio/file_calls.h"
#include "textio/file_handles.h"
#include "textio/journal_files.h"
#include "textio/journal_messages.h"
#include "textio/textfile.h"

#include <QDateTime>
#include <QFile>

#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

namespace textio {

QStringList recoverInterruptedSaves()
{
    QStringList messages;
    const JournalFolder folder(FolderUse::Open);
    if (folder.missing())
        return messages;
    if (folder.fd() < 0) {
        messages << journalFolderMessage(folder);
        return messages;
    }
    removeLeftParts(folder);
    for (const QString& name : namesIn(folder.fd(), journalEnd())) {
        if (const std::optional<QString> message = settlementMessage(settle(folder, name)))
            messages << *message;
    }
    return messages;
}

std::optional<QString> settleBeforeSave(const QString& target)
{
    // No journal is followed from a folder that is not the user's alone;
    // an in-place save that needs one says why it cannot write it.
    const JournalFolder folder(FolderUse::Open);
    if (folder.fd() < 0)
        return std::nullopt;
    // Every journal of the file, whatever path named it (a folder reached
    // by a link, a hard link, its drive mounted at another place), is
    // settled on the file as the save finds it; then the journal of its
    // own name, which the save's journal takes.
    int opened = -1;
    const int notOpened = fileCalls().open(AT_FDCWD, QFile::encodeName(target),
                                           O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0, opened);
    const FileCloser file{notOpened == 0 ? opened : -1};
    QStringList names = journalsOfFile(folder, file.fd);
    const QString ownName = journalNameFor(folder.path(), target);
    if (!names.contains(ownName))
        names << ownName;
    for (const QString& name : names) {
        if (std::optional<QString> refusal = beforeSaveRefusal(target, settle(folder, name, file.fd)))
            return refusal;
    }
    return std::nullopt;
}

SaveJournal::~SaveJournal()
{
    if (fd_ >= 0)
        fileCalls().close(fd_);
    if (folderFd_ >= 0)
        fileCalls().close(folderFd_);
}

std::optional<QString> SaveJournal::begin(const QString& target, int targetFd, const QByteArray& old,
                                          const QByteArray& bytes)
{
    JournalFolder folder(FolderUse::Make);
    if (std::optional<QString> problem = journalFolderProblem(folder))
        return problem;
    struct stat st {};
    if (const int error = fileCalls().status(targetFd, st))
        return reasonInWords(error);
    const FileSystemInfo fileSystem = fileSystemOf(targetFd);
    record_ = {target,
               static_cast<quint64>(st.st_dev),
               static_cast<quint64>(st.st_ino),
               fileSystem.id,
               fileSystem.type,
               QDateTime::currentMSecsSinceEpoch(),
               old,
               bytes,
               JournalState::Saving};
    const QString name = journalNameFor(folder.path(), target);
    folderFd_ = folder.release();
    name_ = QFile::encodeName(name);
    // Written whole, locked, before it has its name: no start finds it
    // half written or unlocked.
    NewFile journal(folderFd_, name);
    int error = journal.create();
    qint64 at = 0;
    if (error == 0) {
        error = writeJournal(record_, [&](QByteArrayView piece) {
            const int failed = writeFully(journal.fd(), piece, at);
            at += piece.size();
            return failed;
        });
    }
    if (error == 0)
        error = fileCalls().syncData(journal.fd());
    if (error == 0)
        error = journal.publish();
    if (error != 0) {
        // Named but not surely on the disk: the file stays untouched, and
        // the journal is retired so that no start takes it for a save.
        if (journal.published())
            retire(folderFd_, name_, journal.fd());
        return reasonInWords(error);
    }
    fd_ = journal.release();
    onDisk_ = JournalOnDisk::Restores;
    return std::nullopt;
}

int SaveJournal::end()
{
    // A retiring that failed may have left the done mark or the removal
    // written but not flushed: what the disk holds is not known.
    if (const int error = retire(folderFd_, name_, fd_)) {
        onDisk_ = JournalOnDisk::Unknown;
        return error;
    }
    onDisk_ = JournalOnDisk::Retired;
    fileCalls().close(std::exchange(fd_, -1));
    return 0;
}

Settlement SaveJournal::rollBack(int targetFd, FileHolds holds)
{
    const FileCloser journal{std::exchange(fd_, -1)};
    return rollBackSave(OpenJournal{folderFd_, name_, journal.fd, record_}, targetFd, onDisk_, holds);
}

} // namespace textio
