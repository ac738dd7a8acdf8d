// Files, folders and in-place saves for the tests of the program's saves.
#pragma once

#include "textio/textfile.h"
#include "textio/file_handles.h"
#include "textio/save_journal.h"
#include "textio/write_fault.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArrayLiteral("<unreadable>");
    }
    return file.readAll();
}

inline void putBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QStringList entriesOf(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

inline void setMode(const QString& path, mode_t mode)
{
    EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

// A file the engineer may write in a folder that takes no new file, with
// his data folder beside it: saves write it in place. Run as root, the
// engineer is another user (root writes anywhere) and root stands for the
// other programs; run as anyone else, the folder is of mode 0555.
class InPlaceSaves {
public:
    static constexpr uid_t kEngineer = 65534;
    static bool asRoot() { return ::geteuid() == 0; }

    explicit InPlaceSaves(const QString& under, bool dataWritable = true)
        : root_(under + QStringLiteral("/case"))
    {
        setMode(under, 0755);
        setMode(root_.path(), 0755);
        EXPECT_TRUE(QDir().mkpath(folder()));
        EXPECT_TRUE(QDir().mkpath(data()));
        if (asRoot()) {
            setMode(folder(), 0755);
            setMode(data(), 0755);
            if (dataWritable) {
                EXPECT_EQ(::chown(QFile::encodeName(data()).constData(), kEngineer, kEngineer), 0);
            }
        } else {
            setMode(folder(), 0555);
            if (!dataWritable)
                setMode(data(), 0555);
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(data()));
    }
    ~InPlaceSaves()
    {
        qputenv("XDG_DATA_HOME", dataHome_);
        if (!asRoot()) {
            // Everything left removable.
            setMode(folder(), 0755);
            QDirIterator it(data(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            setMode(data(), 0755);
            while (it.hasNext())
                ::chmod(QFile::encodeName(it.next()).constData(), 0755);
        }
    }
    InPlaceSaves(const InPlaceSaves&) = delete;
    InPlaceSaves& operator=(const InPlaceSaves&) = delete;

    QString folder() const { return root_.filePath(QStringLiteral("shared")); }
    QString data() const { return root_.filePath(QStringLiteral("data")); }
    QString file() const { return folder() + QStringLiteral("/storm_out.txt"); }
    // The journals' folder in the data folder.
    QString journals() const { return textio::dataFolder() + QStringLiteral("/saves"); }

    // The file with these contents, the engineer's to write.
    void plant(const QByteArray& bytes) const
    {
        const OpenFolder open(*this);
        putBytes(file(), bytes);
        const QByteArray name = QFile::encodeName(file());
        if (asRoot()) {
            EXPECT_EQ(::chown(name.constData(), kEngineer, kEngineer), 0);
        }
        EXPECT_EQ(::chmod(name.constData(), 0640), 0);
    }
    // Another program puts a new file of its own at the file's name.
    void replace(const QByteArray& bytes) const
    {
        const OpenFolder open(*this);
        EXPECT_TRUE(QFile::remove(file()));
        putBytes(file(), bytes);
    }
    // Saves as the engineer; a fault, if any, after `afterBytes`.
    std::optional<QString> save(const QByteArray& bytes,
                                std::optional<textio::WriteFault> fault = std::nullopt,
                                qint64 afterBytes = 0) const
    {
        const AsTheEngineer engineer;
        std::optional<textio::ScopedWriteFault> made;
        if (fault)
            made.emplace(*fault, afterBytes);
        return textio::replaceFileContents(file(), bytes);
    }
    // Starts the program as the engineer; a fault, if any, after `afterBytes`.
    // What it tells the engineer: nothing, where it was killed.
    QStringList recover(std::optional<textio::WriteFault> fault = std::nullopt,
                        qint64 afterBytes = 0) const
    {
        const AsTheEngineer engineer;
        std::optional<textio::ScopedWriteFault> made;
        if (fault)
            made.emplace(*fault, afterBytes);
        QStringList told = textio::recoverInterruptedSaves();
        if (made && made->killed())
            told.clear();
        return told;
    }
    // Every file in the data folder: journals and kept copies.
    QStringList dataFiles() const
    {
        QStringList files;
        QDirIterator it(data(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    // While alive, this process acts as the engineer.
    struct AsTheEngineer {
        AsTheEngineer()
        {
            if (switched) {
                EXPECT_EQ(::seteuid(kEngineer), 0);
            }
        }
        ~AsTheEngineer()
        {
            if (switched) {
                EXPECT_EQ(::seteuid(0), 0);
            }
        }
        AsTheEngineer(const AsTheEngineer&) = delete;
        AsTheEngineer& operator=(const AsTheEngineer&) = delete;
        const bool switched = asRoot();
    };

private:
    // While alive, the folder takes new files (for the other programs).
    struct OpenFolder {
        explicit OpenFolder(const InPlaceSaves& saves)
            : folder(saves.folder())
        {
            if (!asRoot())
                setMode(folder, 0755);
        }
        ~OpenFolder()
        {
            if (!asRoot())
                setMode(folder, 0555);
        }
        QString folder;
    };

    QByteArray dataHome_ = qgetenv("XDG_DATA_HOME");
    QTemporaryDir root_;
};
