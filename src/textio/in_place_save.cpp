#include "textio/in_place_save.h"

#include "textio/file_calls.h"
#include "textio/file_handles.h"
#include "textio/journal_messages.h"
#include "textio/save_journal.h"
#include "textio/textfile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace textio {

std::optional<QString> saveInPlace(const QString& target, const QByteArray& bytes, const QString& shownAs)
{
    const QString path = shownAs.isEmpty() ? target : shownAs;
    int opened = -1;
    if (const int error = fileCalls().open(AT_FDCWD, QFile::encodeName(target), O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0,
                                           opened))
        return QStringLiteral("无法打开文件“%1”：%2").arg(shownPath(path), reasonInWords(error));
    const FileCloser file{opened};
    const int fd = file.fd;
    if (const int error = lockFile(fd, LOCK_EX | LOCK_NB)) {
        if (error == EWOULDBLOCK)
            return fileBusyMessage(path);
        // Without the lock a second save could write the file meanwhile.
        return QStringLiteral("无法保存文件“%1”：所在文件夹不能写入，而该文件无法锁定（%2）")
            .arg(shownPath(path), reasonInWords(error));
    }
    const auto unreadable = [&](int error) {
        return QStringLiteral("无法读取文件“%1”：%2").arg(shownPath(path), reasonInWords(error));
    };
    // The sizes first: contents a journal cannot keep are not read at all.
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return unreadable(error);
    if (st.st_size > kMaxJournalledContents)
        return tooLargeForJournalMessage(path, TooLarge::File);
    if (bytes.size() > kMaxJournalledContents)
        return tooLargeForJournalMessage(path, TooLarge::Contents);
    QByteArray old;
    if (const int error = contentsOf(fd, old, kMaxJournalledContents)) {
        if (error == EFBIG)  // grown meanwhile
            return tooLargeForJournalMessage(path, TooLarge::File);
        return unreadable(error);
    }
    SaveJournal journal;
    if (const std::optional<QString> why = journal.begin(target, fd, old, bytes))
        return journalNotWrittenMessage(path, *why);
    // What the file holds once its writing began, as last verified.
    FileHolds holds = FileHolds::Unknown;
    int error = 0;
    if (bytes.size() > old.size())
        error = fileCalls().truncate(fd, bytes.size());
    if (error == 0)
        error = writeEngineersFile(fd, bytes, 0);
    if (error == 0)
        error = fileCalls().truncate(fd, bytes.size());
    if (error == 0)
        error = fileCalls().syncData(fd);
    if (error == 0) {
        holds = FileHolds::New;
        // Success only once no start can take the new contents back.
        error = journal.end();
    }
    if (error == 0)
        return std::nullopt;
    return failedSaveMessage(path, error, journal.rollBack(fd, holds));
}

} // namespace textio
