// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real program in processes of its own, headless, in a scratch working directory and with
// a private runtime folder, so that no instance of the user's is involved.

#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

#include "tests/support/scratch_directory.h"

namespace qir::testing {

class ProgramProcesses {
  public:
    ProgramProcesses() {
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("XDG_RUNTIME_DIR", runtime_.path());
        environment_.insert("QT_QPA_PLATFORM", "offscreen");
    }
    ~ProgramProcesses() {
        for (const auto& process : processes_) {
            process->kill();
            process->waitForFinished();
        }
    }
    ProgramProcesses(const ProgramProcesses&) = delete;
    ProgramProcesses& operator=(const ProgramProcesses&) = delete;

    QProcessEnvironment& environment() { return environment_; }
    QString runtimeFolder() const { return runtime_.path(); }
    const ScratchDirectory& workingDirectory() const { return directory_; }

    // Starts one more instance of the program.
    QProcess& start() {
        auto& process = *processes_.emplace_back(std::make_unique<QProcess>());
        process.setProcessEnvironment(environment_);
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.start(QIR_PROGRAM, {});
        return process;
    }

    // True once an instance listens in the runtime folder (a stale socket left by a killed
    // one does not count), within `milliseconds`. The probe's connection is a request to
    // come forward, which the instance answers as any later start's.
    bool waitForListeningInstance(int milliseconds = 10000) const {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            for (const QString& name :
                 QDir(runtime_.path()).entryList({"MyTarsel*"}, QDir::System)) {
                QLocalSocket probe;
                probe.connectToServer(QDir(runtime_.path()).filePath(name));
                if (probe.waitForConnected(100)) {
                    probe.disconnectFromServer();
                    return true;
                }
            }
            QThread::msleep(20);
        }
        return false;
    }

    // True once the runtime folder holds the instance socket.
    bool waitForSocket(int milliseconds = 10000) const {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            if (socketExists()) {
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }
    // True once `process` holds the lock on the working directory, within `milliseconds`; false
    // at once when it ends. The program takes the lock only after it has decided to run as the
    // instance. Read from the kernel's list of locks, so that looking never competes with the
    // program for it.
    bool waitForWorkingFolderHeldBy(QProcess& process, int milliseconds = 15000) const {
        struct stat folder {};
        if (::stat(directory_.path().c_str(), &folder) != 0) {
            return false;
        }
        // A line of /proc/locks: "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF".
        const QByteArray holder = QByteArray::number(process.processId());
        const QByteArray inode = ':' + QByteArray::number(static_cast<qulonglong>(folder.st_ino));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            QFile locks("/proc/locks");
            if (locks.open(QIODevice::ReadOnly)) {
                for (const QByteArray& line : locks.readAll().split('\n')) {
                    const QList<QByteArray> fields = line.simplified().split(' ');
                    if (fields.size() >= 6 && fields[1] == "FLOCK" && fields[3] == "WRITE" &&
                        fields[4] == holder && fields[5].endsWith(inode)) {
                        return true;
                    }
                }
            }
            if (process.waitForFinished(20)) {
                return false;
            }
        }
        return false;
    }
    bool socketExists() const {
        return !QDir(runtime_.path()).entryList({"MyTarsel*"}, QDir::System).isEmpty();
    }

  private:
    ScratchDirectory directory_;
    QTemporaryDir runtime_;
    QProcessEnvironment environment_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

}  // namespace qir::testing
