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

constexpr quint32 kMagic = 0x56544a34;              // "VTJ4"
constexpr quint32 kMagicWithoutType = 0x56544a33;   // "VTJ3": no file system type
constexpr quint32 kMagicOfOneSeal = 0x56544a32;     // "VTJ2": one seal, at the end
constexpr quint32 kNoBytes = 0xffffffff;            // QDataStream's null string or array
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
        out << r.target << r.device << r.inode << r.fileSystem << r.fileSystemType << r.savedAt
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

// A journal whose reading failed: damaged where its bytes are wrong,
// unreadable where a read failed; its contents dropped.
JournalReading failedReading(JournalReading reading, const Reader& in)
{
    if (in.error() != 0) {
        reading.kind = JournalReading::Unreadable;
        reading.error = in.error();
    }
    reading.record.old.clear();
    reading.record.written.clear();
    return reading;
}

// Reads the rest of a "VTJ2" journal of `size` bytes, its magic read: the
// fields QDataStream wrote, each counted into the one seal at the end. Its
// path is told only once the seal fits, or for its head alone.
JournalReading readOneSealJournal(Reader& in, qint64 size, JournalPart part, qint64 writtenAt)
{
    JournalReading reading;
    QCryptographicHash all(QCryptographicHash::Sha256);
    char magic[4];
    qToBigEndian(kMagicOfOneSeal, magic);
    all.addData(QByteArrayView(magic, 4));
    qint64 at = 4;
    const auto take = [&](char* to, qint64 n) {
        if (!in.read(to, n))
            return false;
        all.addData(QByteArrayView(to, n));
        at += n;
        return true;
    };
    const auto number = [&]<typename T>(T& value) {
        char bytes[sizeof(T)];
        if (!take(bytes, sizeof bytes))
            return false;
        value = qFromBigEndian<T>(bytes);
        return true;
    };
    // An array's length; QDataStream writes a null one as kNoBytes.
    const auto length = [&](quint32& n) {
        if (!number(n))
            return false;
        if (n == kNoBytes)
            n = 0;
        return true;
    };
    const qint64 tail = kSeal + 1;
    quint32 pathBytes = 0;
    if (!number(pathBytes) || pathBytes == kNoBytes || pathBytes % 2 != 0 || pathBytes > kMaxHead
        || at + pathBytes + 16 + 8 + tail > size)
        return failedReading(reading, in);
    QByteArray utf16(pathBytes, Qt::Uninitialized);
    if (!take(utf16.data(), pathBytes))
        return failedReading(reading, in);
    QString target(pathBytes / 2, Qt::Uninitialized);
    for (quint32 i = 0; i < pathBytes / 2; ++i)
        target[i] = QChar(qFromBigEndian<quint16>(utf16.constData() + 2 * i));
    JournalRecord r;
    quint32 oldSize = 0;
    if (!number(r.device) || !number(r.inode) || !length(oldSize) || at + oldSize + 4 + tail > size
        || !QDir::isAbsolutePath(target))
        return failedReading(reading, in);
    r.target = target;
    r.savedAt = writtenAt;
    if (part == JournalPart::Head) {
        reading.kind = JournalReading::Whole;
        reading.record = std::move(r);
        return reading;
    }
    r.old = QByteArray(oldSize, Qt::Uninitialized);
    quint32 newSize = 0;
    if (!take(r.old.data(), oldSize) || !length(newSize) || at + newSize + tail != size)
        return failedReading(reading, in);
    r.written = QByteArray(newSize, Qt::Uninitialized);
    char end[kSeal + 1];
    if (!take(r.written.data(), newSize) || !in.read(end, sizeof end)
        || all.result() != QByteArrayView(end, kSeal) || end[kSeal] < char(JournalState::Saving)
        || end[kSeal] > char(JournalState::Done))
        return failedReading(reading, in);
    r.state = JournalState(end[kSeal]);
    reading.kind = JournalReading::Whole;
    reading.record = std::move(r);
    return reading;
}

// Reads `part` of a journal of `size` bytes through `readAt`; a "VTJ2"
// journal, which tells no time, counts as begun at `writtenAt`.
JournalReading readJournalOf(qint64 size, ReadAt readAt, JournalPart part, qint64 writtenAt)
{
    JournalReading reading;
    if (size > kMaxJournal)
        return {JournalReading::TooLarge, {}, 0};
    Reader in(std::move(readAt));
    // Wrong bytes make the journal damaged; a read that fails, unreadable.
    const auto failed = [&] { return failedReading(reading, in); };
    QByteArray head(kPrefix, Qt::Uninitialized);
    if (size < kPrefix + kSeal || !in.read(head.data(), 4))
        return failed();
    const quint32 magic = qFromBigEndian<quint32>(head.constData());
    if (magic == kMagicOfOneSeal)
        return readOneSealJournal(in, size, part, writtenAt);
    if ((magic != kMagic && magic != kMagicWithoutType) || !in.read(head.data() + 4, 4))
        return failed();
    const quint32 headSize = qFromBigEndian<quint32>(head.constData() + 4);
    if (headSize > kMaxHead || kPrefix + headSize + kSeal > size)
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
        fields >> r.target >> r.device >> r.inode >> r.fileSystem;
        if (magic == kMagic)
            fields >> r.fileSystemType;
        fields >> r.savedAt >> oldSize >> newSize;
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
    if (part == JournalPart::Head) {
        reading.kind = JournalReading::Whole;
        return reading;
    }
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

JournalReading readJournal(int fd, JournalPart part)
{
    struct stat st {};
    if (const int error = fileCalls().status(fd, st))
        return {JournalReading::Unreadable, {}, error};
    const qint64 writtenAt = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1'000'000;
    return readJournalOf(
        st.st_size,
        [fd](char* to, qint64 size, qint64 offset, qint64& done) {
            return fileCalls().read(fd, to, size, offset, done);
        },
        part, writtenAt);
}

JournalReading decodeJournal(const QByteArray& bytes, JournalPart part)
{
    return readJournalOf(
        bytes.size(),
        [&bytes](char* to, qint64 size, qint64 offset, qint64& done) {
            done = std::clamp<qint64>(bytes.size() - offset, 0, size);
            std::copy_n(bytes.constData() + offset, done, to);
            return 0;
        },
        part, 0);
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

bool identityLasts(quint64 type)
{
    // xfs is not among them: its identity is made from its device number.
    constexpr quint64 kExt = 0xef53;
    constexpr quint64 kBtrfs = 0x9123683e;
    return type == kExt || type == kBtrfs;
}

namespace {

// The journal recorded a file system whose identity lasts.
bool recordedIdentityLasts(const JournalRecord& r)
{
    return r.fileSystem != 0 && identityLasts(r.fileSystemType);
}

} // namespace

bool onRecordedFileSystem(quint64 device, const FileSystemInfo& fileSystem, const JournalRecord& r)
{
    if (recordedIdentityLasts(r))
        return fileSystem.id == r.fileSystem && fileSystem.type == r.fileSystemType;
    return device == r.device || (fileSystem.id != 0 && fileSystem.id == r.fileSystem);
}

Sameness sameAsRecorded(quint64 device, quint64 inode, const FileSystemInfo& fileSystem, const JournalRecord& r)
{
    if (!onRecordedFileSystem(device, fileSystem, r))
        return recordedIdentityLasts(r) ? Sameness::OtherFileSystem : Sameness::Unknown;
    return inode == r.inode ? Sameness::Same : Sameness::Other;
}

} // namespace textio
