#include "textio/journal_messages.h"

#include "textio/file_handles.h"
#include "textio/textfile.h"

namespace textio {

namespace {

using Outcome = Settlement::Outcome;

QString unfitInWords(Unfit unfit, int denied)
{
    switch (unfit) {
    case Unfit::NotPlainFile:
        return QStringLiteral("不是普通文件");
    case Unfit::NotOwn:
        return QStringLiteral("不属于当前用户");
    case Unfit::WritableByOthers:
        return QStringLiteral("其他用户可以改写");
    case Unfit::NoAccess:
        return reasonInWords(denied);
    case Unfit::TooLarge:
        return QStringLiteral("大于任何保存所写的记录");
    case Unfit::Damaged:
        return QStringLiteral("内容不完整或已损坏");
    case Unfit::None:
        break;
    }
    return QString();
}

QString folderFaultInWords(FolderFault fault)
{
    switch (fault) {
    case FolderFault::Link:
        return QStringLiteral("是一个链接");
    case FolderFault::NotFolder:
        return QStringLiteral("不是文件夹");
    case FolderFault::NotOwn:
        return QStringLiteral("不属于当前用户");
    case FolderFault::None:
        break;
    }
    return QString();
}

} // namespace

std::optional<QString> settlementMessage(const Settlement& s)
{
    // The journal's save did not finish: the program or the power died, or
    // the save failed and could not put the file back itself (it said so).
    const QString interrupted = QStringLiteral("上次保存文件“%1”未能完成，").arg(shownPath(s.target));
    switch (s.outcome) {
    case Outcome::Restored:
        return interrupted + QStringLiteral("该文件已恢复为保存前的内容。");
    case Outcome::KeptAside:
        if (s.kept.isEmpty())
            return interrupted + QStringLiteral("此后该文件已被改动，未予恢复；保存前的原内容暂时无法另存为文件，仍保留在程序的保存记录中，下次启动时将再次尝试。");
        return interrupted + QStringLiteral("此后该文件已被改动，未予恢复；保存前的原内容在“%1”。").arg(shownPath(s.kept));
    case Outcome::NotRestored:
        if (s.kept.isEmpty())
            return interrupted + QStringLiteral("无法恢复该文件（%1）；保存前的原内容仍保留在程序的保存记录中，下次启动时将再次恢复。")
                .arg(reasonInWords(s.error));
        return interrupted + QStringLiteral("无法恢复该文件（%1）；保存前的原内容在“%2”，下次启动时将再次恢复。")
            .arg(reasonInWords(s.error), shownPath(s.kept));
    case Outcome::OutOfReach:
        return interrupted + QStringLiteral("现在无法检查或写入该文件（%1），未予恢复；保存前的原内容仍保留，下次启动时将再次检查。")
            .arg(s.error == kNotOnItsFileSystem ? QStringLiteral("该位置现在不是保存时所在的磁盘")
                                                : reasonInWords(s.error));
    case Outcome::JournalNotLocked:
        return interrupted + QStringLiteral("现在无法锁定其保存记录（%1），未予恢复；保存前的原内容仍保留，下次启动时将再次检查。")
            .arg(reasonInWords(s.error));
    case Outcome::JournalUnreadable:
        return QStringLiteral("数据文件夹中的保存记录“%1”现在无法读取（%2），未予处理，下次启动时将再次检查。")
            .arg(shownPath(s.journal), reasonInWords(s.error));
    case Outcome::Unusable: {
        // The file is named wherever the journal's head still tells it.
        const QString head = s.target.isEmpty()
            ? QStringLiteral("数据文件夹中的保存记录“%1”").arg(shownPath(s.journal))
            : interrupted + QStringLiteral("该文件可能只写入了一部分；其保存记录“%1”").arg(shownPath(s.journal));
        const QString why = unfitInWords(s.unfit, s.denied);
        if (s.kept.isEmpty())
            return head + QStringLiteral("无法使用（%1），未予处理，也无法移开（%2）。").arg(why, reasonInWords(s.error));
        return head + QStringLiteral("无法使用（%1），未予处理，已改名为“%2”保留。").arg(why, shownPath(s.kept));
    }
    case Outcome::None:
    case Outcome::Busy:
        break;
    }
    return std::nullopt;
}

QString journalFolderMessage(const JournalFolder& folder)
{
    if (folder.fault() != FolderFault::None)
        return QStringLiteral("数据文件夹中的“%1”%2，不是本用户专用的文件夹，其中的保存记录未予处理；在此之前，不能写入的文件夹中的文件无法保存。")
            .arg(shownPath(folder.path()), folderFaultInWords(folder.fault()));
    return QStringLiteral("数据文件夹中的“%1”现在无法打开（%2），其中的保存记录未予处理，下次启动时将再次检查。")
        .arg(shownPath(folder.path()), reasonInWords(folder.error()));
}

std::optional<QString> journalFolderProblem(const JournalFolder& folder)
{
    if (folder.fault() != FolderFault::None)
        return QStringLiteral("“%1”%2，不是本用户专用的文件夹")
            .arg(shownPath(folder.path()), folderFaultInWords(folder.fault()));
    if (folder.fd() < 0)
        return reasonInWords(folder.error());
    return std::nullopt;
}

std::optional<QString> beforeSaveRefusal(const QString& target, const Settlement& s)
{
    switch (s.outcome) {
    case Outcome::None:
    case Outcome::Restored:
        return std::nullopt;
    case Outcome::Busy:
        return fileBusyMessage(target);
    case Outcome::KeptAside:
    case Outcome::NotRestored:
    case Outcome::OutOfReach:
    case Outcome::JournalNotLocked:
    case Outcome::JournalUnreadable:
    case Outcome::Unusable:
        break;
    }
    return *settlementMessage(s) + QStringLiteral("本次未保存，请核对后再保存。");
}

QString failedSaveMessage(const QString& path, int error, const Settlement& s)
{
    const QString failed = writeFailedMessage(path, error);
    if (s.outcome == Outcome::Restored)
        return failed;
    if (s.onDisk != JournalOnDisk::Restores) {
        // Nothing guessed: the journal as the disk holds it decides at the
        // next start, which may give the file its old contents back or
        // leave it as it is. (A file not restored never holds the old
        // contents surely.)
        const QString holds = s.holds == FileHolds::New
            ? QStringLiteral("；该文件现为新内容，但无法确认其保存记录的状态，下次启动时可能将其恢复为保存前的内容，也可能保持现状")
            : QStringLiteral("；该文件可能只写入了一部分，且无法确认其保存记录的状态，下次启动时可能将其恢复为保存前的内容，也可能保持现状");
        if (s.kept.isEmpty())
            return failed + holds + QStringLiteral("；原内容无法另存为文件，只可能仍在该保存记录中");
        return failed + holds + QStringLiteral("；原内容另存在“%1”").arg(shownPath(s.kept));
    }
    if (s.outcome == Outcome::OutOfReach)
        return failed + QStringLiteral("；该文件现在无法读回，原内容仍保留在程序的保存记录中，下次启动时将再次检查并恢复");
    if (s.outcome == Outcome::KeptAside) {
        // Another program wrote the file meanwhile: it stays as it is, at
        // the next start too, which keeps the old contents aside.
        const QString changed = failed + QStringLiteral("；该文件已被其他程序改动，未予恢复");
        if (s.kept.isEmpty())
            return changed + QStringLiteral("；原内容仍保留在程序的保存记录中，下次启动时将再次尝试另存为文件");
        return changed + QStringLiteral("；原内容保存在“%1”").arg(shownPath(s.kept));
    }
    if (s.kept.isEmpty())
        return failed + QStringLiteral("；原内容仍保留在程序的保存记录中，下次启动时将恢复该文件");
    return failed + QStringLiteral("；原内容保存在“%1”").arg(shownPath(s.kept));
}

QString journalNotWrittenMessage(const QString& path, const QString& why)
{
    return QStringLiteral("无法保存文件“%1”：所在文件夹不能写入，数据文件夹中也无法保存原内容的副本（%2）")
        .arg(shownPath(path), why);
}

QString tooLargeForJournalMessage(const QString& path, TooLarge which)
{
    if (which == TooLarge::Contents)
        return QStringLiteral("无法保存文件“%1”：所在文件夹不能写入，而要保存的内容过大，无法在数据文件夹中保存其副本")
            .arg(shownPath(path));
    return QStringLiteral("无法保存文件“%1”：所在文件夹不能写入，而该文件过大，无法在数据文件夹中保存原内容的副本")
        .arg(shownPath(path));
}

} // namespace textio
