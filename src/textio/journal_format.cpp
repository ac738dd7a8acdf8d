// The journal's bytes and the decision they serve: see journal_format.h for
// how a file counts as still left by its save, and for the byte layout.
#include "textio/journal_format.h"

#include "textio/file_calls.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <initializer_list>

#include <sys/stat.h>

namespace textio {

namespace {

constexpr quint32 kMagic = 0x56544a33;  // "VTJ3"
constexpr qint64 kPrefix = 8;           // the magic and the head's length
constexpr qint64 kSeal = 32;            // SHA-256
constexpr quint32 kMaxHead = 64 * 1024;
// The largest journal a save makes.
constexpr qint64 kMaxJournal = kPrefix + kMaxHead + kSeal + 2 * kMaxJournalledContents + kSeal + 1;

QByteArray sha256(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The magic, the head's length and the head.
QByteArray headOf(const JournalRecord& r)
{
    QByteArray head;
    {
        QDataStream out(&head, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << r.target << r.device << r.inode << r.fileSystem << r.savedAt
            << quint64(r.old.size()) << quint64(r.written.size());
    }
    QByteArray prefix(kPrefix, Qt::Uninitialized);
    qToBigEndian(kMagic, prefix.data());
    qToBigEndian(quint32(head.size()), prefix.data() + 4);
    return prefix + head;
}

// Reads `size` bytes at `offset` into `to`, as much as one call gives
// (`done`, 0 at the end); 0, or the error number.
using ReadAt = std::function<int(char* to, qint64 size, qint64 offset, qint64& done)>;

// Reads a journal from its first byte on.
class Reader {
public:
    explicit Reader(ReadAt readAt)
        : readAt_(std::move(readAt))
    {
    }
    // The next `size` bytes into `to`; false at the end or on an error.
    bool read(char* to, qint64 size)
    {
        qint64 got = 0;
        while (got < size) {
            qint64 n = 0;
            const int error = readAt_(to + got, size - got, at_ + got, n);
            if (error == EINTR)
                continue;
            if (error != 0 || n <= 0) {
                error_ = error;
                return false;
            }
            got += n;
        }
        at_ += size;
        return true;
    }
    int error() const { return error_; }

private:
    ReadAt readAt_;
    qint64 at_ = 0;
    int error_ = 0;
};

// Reads a journal of `size` bytes through `readAt`.
JournalReading readJournalOf(qint64 size, ReadAt readAt)
{
    JournalReading reading;
    if (size > kMaxJournal)
        return {JournalReading::TooLarge, {}, 0};
    Reader in(std::move(readAt));
    // Wrong bytes make the journal damaged; a read that fails, unreadable.
    const auto failed = [&] {
        if (in.error() != 0) {
            reading.kind = JournalReading::Unreadable;
            reading.error = in.error();
        }
        reading.record.old.clear();
        reading.record.written.clear();
        return reading;
    };
    QByteArray head(kPrefix, Qt::Uninitialized);
    if (size < kPrefix + kSeal || !in.read(head.data(), kPrefix))
        return failed();
    const quint32 headSize = qFromBigEndian<quint32>(head.constData() + 4);
    if (qFromBigEndian<quint32>(head.constData()) != kMagic || headSize > kMaxHead
        || kPrefix + headSize + kSeal > size)
        return failed();
    head.resize(kPrefix + headSize + kSeal);
    if (!in.read(head.data() + kPrefix, headSize + kSeal)
        || sha256(head.first(kPrefix + headSize)) != head.sliced(kPrefix + headSize))
        return failed();
    JournalRecord& r = reading.record;
    quint64 oldSize = 0;
    quint64 newSize = 0;
    {
        QDataStream fields(head.sliced(kPrefix, headSize));
        fields.setVersion(QDataStream::Qt_6_0);
        fields >> r.target >> r.device >> r.inode >> r.fileSystem >> r.savedAt >> oldSize >> newSize;
        if (fields.status() != QDataStream::Ok || !fields.atEnd() || !QDir::isAbsolutePath(r.target)) {
            r = {};
            return failed();
        }
    }
    // From here on the head is whole: the file is known, whatever else is wrong.
    if (oldSize > quint64(kMaxJournalledContents) || newSize > quint64(kMaxJournalledContents)
        || quint64(size) != quint64(kPrefix + headSize + 2 * kSeal + 1) + oldSize + newSize)
        return failed();
    reading.stateAt = size - 1;
    QCryptographicHash all(QCryptographicHash::Sha256);
    all.addData(head);
    for (QByteArray* contents : {&r.old, &r.written}) {
        *contents = QByteArray(qsizetype(contents == &r.old ? oldSize : newSize), Qt::Uninitialized);
        if (!in.read(contents->data(), contents->size()))
            return failed();
        all.addData(*contents);
    }
    char tail[kSeal + 1];
    if (!in.read(tail, sizeof tail) || all.result() != QByteArrayView(tail, kSeal)
        || tail[kSeal] < char(JournalState::Saving) || tail[kSeal] > char(JournalState::Done))
        return failed();
    r.state = JournalState(tail[kSeal]);
    reading.kind = JournalReading::Whole;
    return reading;
}

} // namespace

int writeJournal(const JournalRecord& r, const std::function<int(QByteArrayView)>& put)
{
    const QByteArray head = headOf(r);
    const QByteArray headSeal = sha256(head);
    QCryptographicHash all(QCryptographicHash::Sha256);
    for (QByteArrayView piece : {QByteArrayView(head), QByteArrayView(headSeal), QByteArrayView(r.old),
                                 QByteArrayView(r.written)}) {
        all.addData(piece);
        if (const int error = put(piece))
            return error;
    }
    const QByteArray seal = all.result();
    const char state = static_cast<char>(r.state);
    if (const int error = put(seal))
        return error;
    return put(QByteArrayView(&state, 1));
}

QByteArray encodeJournal(const JournalRecord& record)
{
    QByteArray bytes;
    writeJournal(record, [&](QByteArrayView piece) {
        bytes += piece;
        return 0;
    });
    return bytes;
}

JournalReading readJournal(int fd)
{
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return {JournalReading::Unreadable, {}, error};
    return readJournalOf(st.st_size, [fd](char* to, qint64 size, qint64 offset, qint64& done) {
        return fileCalls().read(fd, to, size, offset, done);
    });
}

JournalReading decodeJournal(const QByteArray& bytes)
{
    return readJournalOf(bytes.size(), [&bytes](char* to, qint64 size, qint64 offset, qint64& done) {
        done = std::clamp<qint64>(bytes.size() - offset, 0, size);
        std::copy_n(bytes.constData() + offset, done, to);
        return 0;
    });
}

bool aLengthItsSaveLeaves(qint64 size, const JournalRecord& r)
{
    return size == r.old.size() || size == r.written.size();
}

bool leftBySaveOrRestore(QByteArrayView now, const JournalRecord& r)
{
    const qsizetype oldSize = r.old.size();
    const qsizetype newSize = r.written.size();
    if (!aLengthItsSaveLeaves(now.size(), r))
        return false;
    // Zeros stand only where a growing save, or a restore, lengthened the
    // file before writing.
    const qsizetype zerosFrom = std::min(oldSize, newSize);
    const qsizetype zerosTo = newSize > oldSize || r.state == JournalState::Restoring ? std::max(oldSize, newSize) : 0;
    for (qsizetype i = 0; i < now.size(); ++i) {
        const char c = now[i];
        if ((i < oldSize && c == r.old[i]) || (i < newSize && c == r.written[i])
            || (c == 0 && i >= zerosFrom && i < zerosTo))
            continue;
        return false;
    }
    return true;
}

bool onRecordedFileSystem(quint64 device, quint64 fileSystem, const JournalRecord& r)
{
    return device == r.device || (fileSystem != 0 && fileSystem == r.fileSystem);
}

Sameness sameAsRecorded(quint64 device, quint64 inode, quint64 fileSystem, const JournalRecord& r)
{
    if (!onRecordedFileSystem(device, fileSystem, r))
        return Sameness::Unknown;
    return inode == r.inode ? Sameness::Same : Sameness::Other;
}

} // namespace textio
