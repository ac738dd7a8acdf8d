#include "simulated_disk.h"

#include <QByteArrayList>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio::testing {

namespace {

using Ino = quint64;

constexpr Ino kNone = 0;
constexpr Ino kRoot = 2;
constexpr int kFirstFd = 1000;
// Links followed in one lookup before ELOOP, as Linux allows.
constexpr int kMaxLinks = 40;

enum class Type { File, Folder, Link };

// One write or cut of a file, kept until the file is flushed.
struct FileChange {
    enum class Kind { Write, Cut };
    Kind kind = Kind::Write;
    qint64 offset = 0;  // a cut: the new length
    QByteArray bytes;
};

// The names one call changed in one folder (kNone: the name removed); a
// power cut keeps or loses them together.
using NameChange = std::vector<std::pair<QByteArray, Ino>>;

struct Inode {
    Ino ino = kNone;
    Type type = Type::File;
    mode_t permissions = 0;
    uid_t owner = 0;
    dev_t device = 0;
    // A file: the contents as written, as flushed, and the changes between.
    // A link: its target (in `written` alone).
    QByteArray written;
    QByteArray flushed;
    std::vector<FileChange> unflushed;
    // A folder: its names now, as flushed, and the changes between; the
    // folder it is in.
    std::map<QByteArray, Ino> names;
    std::map<QByteArray, Ino> flushedNames;
    std::vector<NameChange> unflushedNames;
    Ino parent = kNone;
    // Made by O_TMPFILE (without O_EXCL): linkOpen may give it a name.
    bool linkable = false;
};

enum class LockHeld { None, Shared, Exclusive };

// An open file description: one for each successful open.
struct Description {
    Ino ino = kNone;
    int access = O_RDONLY;
    LockHeld lock = LockHeld::None;
};

// Whether a name change waits for the folder's flush or is flushed at once
// (the tests' own set-up).
enum class Durability { Unflushed, Flushed };

// What a lookup of a path found: the folder holding the last name and the
// name, and what stands under it (kNone: nothing).
struct Lookup {
    Ino folder = kNone;
    QByteArray name;
    Ino found = kNone;
};

// Whether a lookup follows a link at the last name.
enum class Follow { Last, NotLast };

void apply(QByteArray& data, const FileChange& change)
{
    if (change.kind == FileChange::Kind::Cut) {
        if (change.offset < data.size())
            data.truncate(change.offset);
        else
            data.append(QByteArray(change.offset - data.size(), '\0'));
        return;
    }
    const qint64 end = change.offset + change.bytes.size();
    if (end > data.size())
        data.append(QByteArray(end - data.size(), '\0'));
    std::memcpy(data.data() + change.offset, change.bytes.constData(),
                static_cast<std::size_t>(change.bytes.size()));
}

QList<QByteArray> components(const QByteArray& path)
{
    QList<QByteArray> parts = path.split('/');
    parts.removeAll(QByteArray());
    return parts;
}

// What a flush makes durable: a file's contents and length, and a folder's
// names too for a full one (fsync; fdatasync leaves the names).
enum class Flush { Data, DataAndNames };

void flush(Inode& inode, Flush what)
{
    inode.flushed = inode.written;
    inode.unflushed.clear();
    if (what == Flush::DataAndNames) {
        inode.flushedNames = inode.names;
        inode.unflushedNames.clear();
    }
}

void fail(const char* what, const QByteArray& path)
{
    throw std::runtime_error(std::string("simulated disk: ") + what + ": " + path.toStdString());
}

} // namespace

struct SimulatedDisk::State {
    std::map<Ino, Inode> inodes;
    Ino nextIno = kRoot + 1;
    std::map<dev_t, FileSystemInfo> fileSystems;
    std::map<int, std::shared_ptr<Description>> open;
    int nextFd = kFirstFd;
    uid_t user = ::geteuid();

    int count = 0;
    std::map<CallKind, int> kindCounts;
    std::vector<SimulatedCall> log;
    std::optional<int> cutAfter;
    PowerCut cutMode;
    bool cut = false;
    std::unique_ptr<SimulatedDisk> image;
    std::map<int, int> failAt;
    struct KindFault {
        CallKind kind;
        int fromNth;
        int error;
    };
    std::vector<KindFault> kindFaults;

    // ---------------------------------------------------------- calls

    int call(CallKind kind, int fd, const QByteArray& path, const std::function<int()>& body)
    {
        ++count;
        const int nth = ++kindCounts[kind];
        int result = 0;
        if (cut) {
            result = EIO;
        } else if (const auto at = failAt.find(count); at != failAt.end()) {
            result = at->second;
        } else if (const auto fault = std::find_if(kindFaults.begin(), kindFaults.end(),
                                                   [&](const KindFault& f) {
                                                       return f.kind == kind && nth >= f.fromNth;
                                                   });
                   fault != kindFaults.end()) {
            result = fault->error;
        } else {
            result = body();
        }
        log.push_back({count, kind, fd, path, result});
        if (!cut && cutAfter && count == *cutAfter) {
            image.reset(new SimulatedDisk(afterCut(cutMode)));
            cut = true;
        }
        return result;
    }

    // A call on an open descriptor: EBADF where `fd` is none.
    int callOn(CallKind kind, int fd, const std::function<int(Description&, Inode&)>& body,
               const QByteArray& path = {})
    {
        return call(kind, fd, path, [&] {
            Description* description = described(fd);
            return description == nullptr ? EBADF : body(*description, node(description->ino));
        });
    }

    // A call on a name: the lookup's error, or what the body answers.
    int callAt(CallKind kind, int folder, const QByteArray& path, Follow follow,
               const std::function<int(const Lookup&)>& body)
    {
        return call(kind, folder == AT_FDCWD ? -1 : folder, path, [&] {
            Lookup at;
            if (const int error = lookup(folder, path, follow, at))
                return error;
            return body(at);
        });
    }

    // ---------------------------------------------------------- inodes

    Inode& node(Ino ino) { return inodes.at(ino); }
    const Inode& node(Ino ino) const { return inodes.at(ino); }

    Inode& make(Type type, mode_t permissions, dev_t device)
    {
        Inode& made = inodes[nextIno];
        made.ino = nextIno++;
        made.type = type;
        made.permissions = permissions & 07777;
        made.owner = user;
        made.device = device;
        return made;
    }

    // Whether the running user may read (4), write (2) or search (1).
    bool allowed(const Inode& inode, unsigned want) const
    {
        if (user == 0)
            return true;
        const unsigned bits = inode.owner == user ? (inode.permissions >> 6) & 7u : inode.permissions & 7u;
        return (bits & want) == want;
    }

    nlink_t links(const Inode& inode) const
    {
        nlink_t found = 0;
        if (inode.type == Type::Folder) {
            found = 2;
            for (const auto& [name, ino] : inode.names)
                if (node(ino).type == Type::Folder)
                    ++found;
            return found;
        }
        for (const auto& [ino, folder] : inodes)
            for (const auto& [name, named] : folder.names)
                if (named == inode.ino)
                    ++found;
        return found;
    }

    void setNames(Ino folder, const NameChange& change, Durability durability)
    {
        Inode& inode = node(folder);
        for (const auto& [name, ino] : change) {
            if (ino == kNone)
                inode.names.erase(name);
            else
                inode.names[name] = ino;
            if (durability == Durability::Flushed) {
                if (ino == kNone)
                    inode.flushedNames.erase(name);
                else
                    inode.flushedNames[name] = ino;
            }
            if (ino != kNone && node(ino).type == Type::Folder)
                node(ino).parent = folder;
        }
        if (durability == Durability::Unflushed)
            inode.unflushedNames.push_back(change);
    }

    void change(Inode& file, FileChange fileChange)
    {
        apply(file.written, fileChange);
        file.unflushed.push_back(std::move(fileChange));
    }

    // ---------------------------------------------------------- lookups

    Description* described(int fd)
    {
        const auto at = open.find(fd);
        return at == open.end() ? nullptr : at->second.get();
    }

    // The folder a relative path starts from.
    int start(int folder, const QByteArray& path, Ino& from)
    {
        if (path.startsWith('/') || folder == AT_FDCWD) {
            from = kRoot;
            return 0;
        }
        const Description* description = described(folder);
        if (description == nullptr)
            return EBADF;
        if (node(description->ino).type != Type::Folder)
            return ENOTDIR;
        from = description->ino;
        return 0;
    }

    int walk(Ino from, const QByteArray& path, Follow follow, int depth, Lookup& out)
    {
        if (path.isEmpty())
            return ENOENT;
        Ino current = path.startsWith('/') ? kRoot : from;
        const QList<QByteArray> parts = components(path);
        if (parts.isEmpty()) {
            out = {current, QByteArrayLiteral("."), current};
            return 0;
        }
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const Inode& folder = node(current);
            if (folder.type != Type::Folder)
                return ENOTDIR;
            if (!allowed(folder, 1))
                return EACCES;
            const QByteArray& part = parts[i];
            Ino next = kNone;
            if (part == ".")
                next = current;
            else if (part == "..")
                next = folder.parent;
            else if (const auto at = folder.names.find(part); at != folder.names.end())
                next = at->second;
            const bool last = i + 1 == parts.size();
            if (next != kNone && node(next).type == Type::Link
                && (!last || follow == Follow::Last || path.endsWith('/'))) {
                if (depth >= kMaxLinks)
                    return ELOOP;
                Lookup target;
                if (const int error = walk(current, node(next).written, Follow::Last, depth + 1, target))
                    return error;
                if (last) {
                    out = target;
                    return 0;
                }
                next = target.found;
            }
            if (last) {
                out = {current, part, next};
                return 0;
            }
            if (next == kNone)
                return ENOENT;
            current = next;
        }
        return 0;
    }

    int lookup(int folder, const QByteArray& path, Follow follow, Lookup& out)
    {
        Ino from = kNone;
        if (const int error = start(folder, path, from))
            return error;
        return walk(from, path, follow, 0, out);
    }

    // The two names of a link or a rename, neither followed: the first
    // must stand.
    int lookupBoth(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
                   Lookup& source, Lookup& target)
    {
        if (const int error = lookup(fromFolder, from, Follow::NotLast, source))
            return error;
        if (source.found == kNone)
            return ENOENT;
        return lookup(toFolder, to, Follow::NotLast, target);
    }

    // A name may be made or removed in the folder.
    int mayChange(Ino folder, const QByteArray& name) const
    {
        if (node(folder).type != Type::Folder)
            return ENOTDIR;
        if (name == "." || name == "..")
            return EEXIST;
        return allowed(node(folder), 3) ? 0 : EACCES;
    }

    bool isBelow(Ino inner, Ino outer) const
    {
        for (Ino at = inner; at != kNone; at = at == kRoot ? kNone : node(at).parent)
            if (at == outer)
                return true;
        return false;
    }

    void fill(const Inode& inode, struct stat& st) const
    {
        st = {};
        st.st_dev = inode.device;
        st.st_ino = inode.ino;
        const mode_t type = inode.type == Type::Folder ? S_IFDIR : inode.type == Type::Link ? S_IFLNK : S_IFREG;
        st.st_mode = type | inode.permissions;
        st.st_uid = inode.owner;
        st.st_gid = ::getegid();
        st.st_nlink = links(inode);
        st.st_size = inode.type == Type::Folder ? 4096 : inode.written.size();
        st.st_blksize = 4096;
        st.st_blocks = (st.st_size + 511) / 512;
    }

    // ---------------------------------------------------------- power cuts

    std::unique_ptr<State> afterCut(PowerCut mode) const
    {
        auto after = std::make_unique<State>();
        after->inodes = inodes;
        after->nextIno = nextIno;
        after->fileSystems = fileSystems;
        after->user = user;
        std::mt19937_64 random(mode.seed);
        for (auto& [ino, inode] : after->inodes) {
            switch (mode.keep) {
            case PowerCut::Keep::FlushedOnly:
                inode.written = inode.flushed;
                inode.names = inode.flushedNames;
                break;
            case PowerCut::Keep::All:
                break;
            case PowerCut::Keep::Scrambled: {
                const std::size_t kept = random() % (inode.unflushed.size() + 1);
                inode.written = inode.flushed;
                for (std::size_t i = 0; i < kept; ++i)
                    apply(inode.written, inode.unflushed[i]);
                inode.names = inode.flushedNames;
                for (const NameChange& change : inode.unflushedNames)
                    if (random() % 2 == 0)
                        for (const auto& [name, named] : change) {
                            if (named == kNone)
                                inode.names.erase(name);
                            else
                                inode.names[name] = named;
                        }
                break;
            }
            }
            if (inode.type != Type::Link)
                inode.flushed = inode.written;
            inode.flushedNames = inode.names;
            inode.unflushed.clear();
            inode.unflushedNames.clear();
            inode.linkable = false;
        }
        // What no name reaches from the root is gone; a folder is in the
        // first folder found naming it.
        std::set<Ino> reached{kRoot};
        std::vector<Ino> folders{kRoot};
        while (!folders.empty()) {
            const Ino folder = folders.back();
            folders.pop_back();
            for (const auto& [name, ino] : after->node(folder).names) {
                if (!reached.insert(ino).second)
                    continue;
                Inode& inode = after->node(ino);
                if (inode.type == Type::Folder) {
                    inode.parent = folder;
                    folders.push_back(ino);
                }
            }
        }
        std::erase_if(after->inodes, [&](const auto& entry) { return !reached.contains(entry.first); });
        return after;
    }

    // ---------------------------------------------------------- set-up

    Ino find(const QByteArray& path, Follow follow)
    {
        Lookup found;
        if (lookup(AT_FDCWD, path, follow, found) != 0)
            return kNone;
        return found.found;
    }

    Ino findOrFail(const QByteArray& path)
    {
        const Ino ino = find(path, Follow::Last);
        if (ino == kNone)
            fail("no such name", path);
        return ino;
    }

    // The folder to make `path` in, and the name.
    Lookup place(const QByteArray& path)
    {
        Lookup found;
        if (lookup(AT_FDCWD, path, Follow::NotLast, found) != 0 || node(found.folder).type != Type::Folder)
            fail("no folder for", path);
        return found;
    }

    Inode& makeNamed(const QByteArray& path, Type type, mode_t permissions)
    {
        const Lookup at = place(path);
        if (at.found != kNone)
            fail("name taken", path);
        Inode& made = make(type, permissions, node(at.folder).device);
        setNames(at.folder, {{at.name, made.ino}}, Durability::Flushed);
        return made;
    }
};

// ---------------------------------------------------------------- text

QString callKindName(CallKind kind)
{
    static const char* const names[] = {
        "open", "close", "read", "write", "sync", "syncData", "truncate", "linkOpen", "link", "rename",
        "unlink", "makeFolder", "lock", "recordLocked", "status", "statusAt", "fileSystem",
        "changeMode", "names",
    };
    return QString::fromLatin1(names[static_cast<int>(kind)]);
}

QString SimulatedCall::text() const
{
    QString line = QStringLiteral("%1 %2").arg(number).arg(callKindName(kind));
    if (fd != -1)
        line += QStringLiteral(" fd %1").arg(fd);
    if (!path.isEmpty())
        line += QLatin1Char(' ') + QString::fromUtf8(path);
    const char* error = result == 0 ? "0" : ::strerrorname_np(result);
    return line + QStringLiteral(": ") + QString::fromLatin1(error != nullptr ? error : "?");
}

// ---------------------------------------------------------------- the disk

SimulatedDisk::SimulatedDisk(dev_t device, FileSystemInfo fileSystem)
    : state_(std::make_unique<State>())
{
    Inode& root = state_->inodes[kRoot];
    root.ino = kRoot;
    root.type = Type::Folder;
    root.permissions = 0755;
    root.owner = state_->user;
    root.device = device;
    root.parent = kRoot;
    state_->fileSystems[device] = fileSystem;
}

SimulatedDisk::SimulatedDisk(std::unique_ptr<State> state)
    : state_(std::move(state))
{
}

SimulatedDisk::~SimulatedDisk() = default;
SimulatedDisk::SimulatedDisk(SimulatedDisk&&) noexcept = default;
SimulatedDisk& SimulatedDisk::operator=(SimulatedDisk&&) noexcept = default;

int SimulatedDisk::open(int folder, const QByteArray& path, int flags, mode_t mode, int& fd)
{
    fd = -1;
    State& s = *state_;
    const int result = s.call(CallKind::Open, folder == AT_FDCWD ? -1 : folder, path, [&] {
        const int access = flags & O_ACCMODE;
        const bool writes = access == O_WRONLY || access == O_RDWR;
        Ino ino = kNone;
        if ((flags & O_TMPFILE) == O_TMPFILE) {
            Lookup at;
            if (const int error = s.lookup(folder, path, Follow::Last, at))
                return error;
            if (at.found == kNone)
                return ENOENT;
            if (s.node(at.found).type != Type::Folder)
                return ENOTDIR;
            if (!writes)
                return EINVAL;
            if (!s.allowed(s.node(at.found), 3))
                return EACCES;
            Inode& made = s.make(Type::File, mode, s.node(at.found).device);
            made.linkable = (flags & O_EXCL) == 0;
            ino = made.ino;
        } else {
            const bool exclusive = (flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL);
            Lookup at;
            const Follow follow = (flags & O_NOFOLLOW) != 0 || exclusive ? Follow::NotLast : Follow::Last;
            if (const int error = s.lookup(folder, path, follow, at))
                return error;
            if (at.found == kNone) {
                if ((flags & O_CREAT) == 0)
                    return ENOENT;
                if (const int error = s.mayChange(at.folder, at.name))
                    return error;
                Inode& made = s.make(Type::File, mode, s.node(at.folder).device);
                s.setNames(at.folder, {{at.name, made.ino}}, Durability::Unflushed);
                ino = made.ino;
            } else {
                Inode& found = s.node(at.found);
                if (exclusive)
                    return EEXIST;
                if (found.type == Type::Link)
                    return ELOOP;
                if ((flags & O_DIRECTORY) != 0 && found.type != Type::Folder)
                    return ENOTDIR;
                if (found.type == Type::Folder && (writes || (flags & O_CREAT) != 0))
                    return EISDIR;
                if ((access != O_WRONLY && !s.allowed(found, 4)) || (writes && !s.allowed(found, 2)))
                    return EACCES;
                if ((flags & O_TRUNC) != 0 && writes && found.type == Type::File)
                    s.change(found, {FileChange::Kind::Cut, 0, {}});
                ino = found.ino;
            }
        }
        fd = s.nextFd++;
        s.open[fd] = std::make_shared<Description>(Description{ino, access, LockHeld::None});
        return 0;
    });
    if (result == 0)
        s.log.back().fd = fd;
    return result;
}

int SimulatedDisk::close(int fd)
{
    State& s = *state_;
    return s.call(CallKind::Close, fd, {}, [&] { return s.open.erase(fd) == 1 ? 0 : EBADF; });
}

int SimulatedDisk::read(int fd, char* to, qint64 size, qint64 offset, qint64& done)
{
    done = 0;
    return state_->callOn(CallKind::Read, fd, [&](const Description& description, const Inode& file) {
        if (description.access == O_WRONLY)
            return EBADF;
        if (file.type == Type::Folder)
            return EISDIR;
        if (offset < 0 || size < 0)
            return EINVAL;
        if (offset < file.written.size()) {
            done = std::min<qint64>(size, file.written.size() - offset);
            std::memcpy(to, file.written.constData() + offset, static_cast<std::size_t>(done));
        }
        return 0;
    });
}

int SimulatedDisk::write(int fd, const char* from, qint64 size, qint64 offset, qint64& done)
{
    done = 0;
    State& s = *state_;
    return s.callOn(CallKind::Write, fd, [&](const Description& description, Inode& file) {
        if (description.access == O_RDONLY)
            return EBADF;
        if (offset < 0 || size < 0)
            return EINVAL;
        if (size > 0)
            s.change(file, {FileChange::Kind::Write, offset, QByteArray(from, size)});
        done = size;
        return 0;
    });
}

int SimulatedDisk::sync(int fd)
{
    return state_->callOn(CallKind::Sync, fd, [](const Description&, Inode& inode) {
        flush(inode, Flush::DataAndNames);
        return 0;
    });
}

int SimulatedDisk::syncData(int fd)
{
    return state_->callOn(CallKind::SyncData, fd, [](const Description&, Inode& inode) {
        flush(inode, Flush::Data);
        return 0;
    });
}

int SimulatedDisk::truncate(int fd, qint64 size)
{
    State& s = *state_;
    return s.callOn(CallKind::Truncate, fd, [&](const Description& description, Inode& file) {
        if (description.access == O_RDONLY || file.type != Type::File || size < 0)
            return EINVAL;
        s.change(file, {FileChange::Kind::Cut, size, {}});
        return 0;
    });
}

int SimulatedDisk::linkOpen(int fd, int folder, const QByteArray& name)
{
    State& s = *state_;
    const auto body = [&](const Description&, const Inode& file) {
        if (file.type == Type::Folder)
            return EPERM;
        if (s.links(file) == 0 && !file.linkable)
            return ENOENT;
        Lookup to;
        if (const int error = s.lookup(folder, name, Follow::NotLast, to))
            return error;
        if (to.found != kNone)
            return EEXIST;
        if (const int error = s.mayChange(to.folder, to.name))
            return error;
        if (s.node(to.folder).device != file.device)
            return EXDEV;
        s.setNames(to.folder, {{to.name, file.ino}}, Durability::Unflushed);
        return 0;
    };
    return s.callOn(CallKind::LinkOpen, fd, body, name);
}

int SimulatedDisk::link(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to)
{
    State& s = *state_;
    return s.call(CallKind::Link, -1, from + " -> " + to, [&] {
        Lookup source;
        Lookup target;
        if (const int error = s.lookupBoth(fromFolder, from, toFolder, to, source, target))
            return error;
        if (target.found != kNone)
            return EEXIST;
        if (s.node(source.found).type == Type::Folder)
            return EPERM;
        if (const int error = s.mayChange(target.folder, target.name))
            return error;
        if (s.node(target.folder).device != s.node(source.found).device)
            return EXDEV;
        s.setNames(target.folder, {{target.name, source.found}}, Durability::Unflushed);
        return 0;
    });
}

int SimulatedDisk::rename(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to,
                          bool noReplace)
{
    State& s = *state_;
    return s.call(CallKind::Rename, -1, from + " -> " + to, [&] {
        Lookup source;
        Lookup target;
        if (const int error = s.lookupBoth(fromFolder, from, toFolder, to, source, target))
            return error;
        if (source.name == "." || source.name == ".." || source.found == kRoot)
            return EBUSY;
        if (const int error = s.mayChange(source.folder, source.name))
            return error;
        if (const int error = s.mayChange(target.folder, target.name))
            return error;
        const Inode& moved = s.node(source.found);
        if (s.node(target.folder).device != moved.device)
            return EXDEV;
        if (target.found != kNone) {
            if (noReplace)
                return EEXIST;
            if (target.found == source.found)
                return 0;
            const Inode& replaced = s.node(target.found);
            if (moved.type == Type::Folder && replaced.type != Type::Folder)
                return ENOTDIR;
            if (moved.type != Type::Folder && replaced.type == Type::Folder)
                return EISDIR;
            if (replaced.type == Type::Folder && !replaced.names.empty())
                return ENOTEMPTY;
        }
        if (moved.type == Type::Folder && s.isBelow(target.folder, moved.ino))
            return EINVAL;
        if (source.folder == target.folder) {
            s.setNames(source.folder, {{source.name, kNone}, {target.name, moved.ino}}, Durability::Unflushed);
        } else {
            s.setNames(source.folder, {{source.name, kNone}}, Durability::Unflushed);
            s.setNames(target.folder, {{target.name, moved.ino}}, Durability::Unflushed);
        }
        return 0;
    });
}

int SimulatedDisk::unlink(int folder, const QByteArray& name, int flags)
{
    State& s = *state_;
    return s.callAt(CallKind::Unlink, folder, name, Follow::NotLast, [&](const Lookup& at) {
        if (at.found == kNone)
            return ENOENT;
        const Inode& removed = s.node(at.found);
        if ((flags & AT_REMOVEDIR) != 0) {
            if (removed.type != Type::Folder)
                return ENOTDIR;
            if (at.found == kRoot || at.name == "." || at.name == "..")
                return EBUSY;
            if (!removed.names.empty())
                return ENOTEMPTY;
        } else if (removed.type == Type::Folder) {
            return EISDIR;
        }
        if (const int error = s.mayChange(at.folder, at.name))
            return error;
        s.setNames(at.folder, {{at.name, kNone}}, Durability::Unflushed);
        return 0;
    });
}

int SimulatedDisk::makeFolder(int folder, const QByteArray& name, mode_t mode)
{
    State& s = *state_;
    return s.callAt(CallKind::MakeFolder, folder, name, Follow::NotLast, [&](const Lookup& at) {
        if (at.found != kNone)
            return EEXIST;
        if (const int error = s.mayChange(at.folder, at.name))
            return error;
        const Inode& made = s.make(Type::Folder, mode, s.node(at.folder).device);
        s.setNames(at.folder, {{at.name, made.ino}}, Durability::Unflushed);
        return 0;
    });
}

int SimulatedDisk::lock(int fd, int operation)
{
    State& s = *state_;
    return s.callOn(CallKind::Lock, fd, [&](Description& mine, const Inode&) {
        LockHeld wanted = LockHeld::None;
        switch (operation & ~LOCK_NB) {
        case LOCK_SH: wanted = LockHeld::Shared; break;
        case LOCK_EX: wanted = LockHeld::Exclusive; break;
        case LOCK_UN: wanted = LockHeld::None; break;
        default: return EINVAL;
        }
        if (wanted != LockHeld::None) {
            for (const auto& [otherFd, other] : s.open) {
                if (other.get() == &mine || other->ino != mine.ino || other->lock == LockHeld::None)
                    continue;
                if (wanted == LockHeld::Exclusive || other->lock == LockHeld::Exclusive)
                    return EWOULDBLOCK;
            }
        }
        mine.lock = wanted;
        return 0;
    });
}

int SimulatedDisk::recordLocked(int fd, bool& held)
{
    held = false;
    return state_->callOn(CallKind::RecordLocked, fd, [](const Description&, const Inode&) { return 0; });
}

int SimulatedDisk::status(int fd, struct stat& st)
{
    State& s = *state_;
    return s.callOn(CallKind::Status, fd, [&](const Description&, const Inode& inode) {
        s.fill(inode, st);
        return 0;
    });
}

int SimulatedDisk::statusAt(int folder, const QByteArray& path, int flags, struct stat& st)
{
    State& s = *state_;
    if (path.isEmpty() && (flags & AT_EMPTY_PATH) != 0) {
        return s.callOn(CallKind::StatusAt, folder, [&](const Description&, const Inode& inode) {
            s.fill(inode, st);
            return 0;
        });
    }
    const Follow follow = (flags & AT_SYMLINK_NOFOLLOW) != 0 ? Follow::NotLast : Follow::Last;
    return s.callAt(CallKind::StatusAt, folder, path, follow, [&](const Lookup& at) {
        if (at.found == kNone)
            return ENOENT;
        s.fill(s.node(at.found), st);
        return 0;
    });
}

int SimulatedDisk::fileSystem(int fd, FileSystemInfo& info)
{
    State& s = *state_;
    return s.callOn(CallKind::FileSystem, fd, [&](const Description&, const Inode& inode) {
        info = s.fileSystems.at(inode.device);
        return 0;
    });
}

int SimulatedDisk::changeMode(int fd, mode_t mode)
{
    State& s = *state_;
    return s.callOn(CallKind::ChangeMode, fd, [&](const Description&, Inode& inode) {
        if (s.user != 0 && inode.owner != s.user)
            return EPERM;
        inode.permissions = mode & 07777;
        return 0;
    });
}

int SimulatedDisk::names(int folder, std::vector<QByteArray>& names)
{
    names.clear();
    return state_->callOn(CallKind::Names, folder, [&](const Description&, const Inode& inode) {
        if (inode.type != Type::Folder)
            return ENOTDIR;
        for (const auto& [name, ino] : inode.names)
            names.push_back(name);
        return 0;
    });
}

// ---------------------------------------------------------------- power cuts

SimulatedDisk SimulatedDisk::powerCut(PowerCut mode) const
{
    return SimulatedDisk(state_->afterCut(mode));
}

void SimulatedDisk::cutAfterCall(int n, PowerCut mode)
{
    state_->cutAfter = n;
    state_->cutMode = mode;
}

bool SimulatedDisk::isCut() const
{
    return state_->cut;
}

const SimulatedDisk* SimulatedDisk::image() const
{
    return state_->image.get();
}

SimulatedDisk SimulatedDisk::takeImage()
{
    if (state_->image == nullptr)
        throw std::logic_error("simulated disk: no power cut yet");
    SimulatedDisk taken = std::move(*state_->image);
    state_->image.reset();
    return taken;
}

void SimulatedDisk::failCall(int n, int error)
{
    state_->failAt[n] = error;
}

void SimulatedDisk::failCalls(CallKind kind, int fromNth, int error)
{
    state_->kindFaults.push_back({kind, fromNth, error});
}

int SimulatedDisk::callCount() const
{
    return state_->count;
}

const std::vector<SimulatedCall>& SimulatedDisk::calls() const
{
    return state_->log;
}

QString SimulatedDisk::callsText() const
{
    QStringList lines;
    for (const SimulatedCall& call : state_->log)
        lines << call.text();
    return lines.join(QLatin1Char('\n'));
}

// ---------------------------------------------------------------- set-up

void SimulatedDisk::makeFolders(const QByteArray& path, mode_t mode)
{
    State& s = *state_;
    QByteArray done;
    for (const QByteArray& part : components(path)) {
        done += '/' + part;
        const Ino found = s.find(done, Follow::Last);
        if (found == kNone)
            s.makeNamed(done, Type::Folder, mode);
        else if (s.node(found).type != Type::Folder)
            fail("not a folder", done);
    }
}

void SimulatedDisk::writeFile(const QByteArray& path, const QByteArray& bytes, mode_t mode)
{
    State& s = *state_;
    const Ino found = s.find(path, Follow::Last);
    Inode& file = found == kNone ? s.makeNamed(path, Type::File, mode) : s.node(found);
    if (file.type != Type::File)
        fail("not a plain file", path);
    file.permissions = mode & 07777;
    file.written = bytes;
    file.flushed = bytes;
    file.unflushed.clear();
}

void SimulatedDisk::symlink(const QByteArray& target, const QByteArray& path)
{
    state_->makeNamed(path, Type::Link, 0777).written = target;
}

void SimulatedDisk::chmod(const QByteArray& path, mode_t mode)
{
    state_->node(state_->findOrFail(path)).permissions = mode & 07777;
}

void SimulatedDisk::setOwner(const QByteArray& path, uid_t uid)
{
    state_->node(state_->findOrFail(path)).owner = uid;
}

std::optional<QByteArray> SimulatedDisk::contents(const QByteArray& path) const
{
    const Ino found = state_->find(path, Follow::Last);
    if (found == kNone || state_->node(found).type != Type::File)
        return std::nullopt;
    return state_->node(found).written;
}

bool SimulatedDisk::exists(const QByteArray& path) const
{
    return state_->find(path, Follow::NotLast) != kNone;
}

std::vector<QByteArray> SimulatedDisk::list(const QByteArray& path) const
{
    const Inode& folder = state_->node(state_->findOrFail(path));
    std::vector<QByteArray> listed;
    for (const auto& [name, ino] : folder.names)
        listed.push_back(name);
    return listed;
}

void SimulatedDisk::mount(const QByteArray& path, dev_t device, FileSystemInfo fileSystem)
{
    State& s = *state_;
    s.fileSystems[device] = fileSystem;
    std::vector<Ino> below{s.findOrFail(path)};
    while (!below.empty()) {
        Inode& inode = s.node(below.back());
        below.pop_back();
        inode.device = device;
        for (const auto& [name, ino] : inode.names)
            below.push_back(ino);
    }
}

void SimulatedDisk::move(const QByteArray& from, const QByteArray& to)
{
    State& s = *state_;
    Lookup source;
    if (s.lookup(AT_FDCWD, from, Follow::NotLast, source) != 0 || source.found == kNone)
        fail("no such name", from);
    const Lookup target = s.place(to);
    s.setNames(source.folder, {{source.name, kNone}}, Durability::Flushed);
    s.setNames(target.folder, {{target.name, source.found}}, Durability::Flushed);
}

void SimulatedDisk::runAs(uid_t uid)
{
    state_->user = uid;
}

} // namespace textio::testing
