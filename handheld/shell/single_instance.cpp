#include "handheld/shell/single_instance.h"

#include <QDateTime>
#include <QFile>
#include <QFileSystemWatcher>
#include <QLockFile>

#include "handheld/home.h"

namespace handheld {

SingleInstance::SingleInstance(const QString& name) {
    const QString home = QString::fromStdString(HomeDirectory().string());
    lock_ = std::make_unique<QLockFile>(home + QStringLiteral("/") + name + QStringLiteral(".lock"));
    requestPath_ = home + QStringLiteral("/") + name + QStringLiteral(".front");
    // A lock left by a program that died is taken over at once.
    lock_->setStaleLockTime(0);
    first_ = lock_->tryLock(0);
    if (!first_) {
        QFile request(requestPath_);
        if (request.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            request.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
        }
        return;
    }
    QFile request(requestPath_);
    if (request.open(QIODevice::WriteOnly | QIODevice::Truncate)) request.close();
    watcher_ = new QFileSystemWatcher(QStringList{requestPath_}, this);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        // Some writers replace the file; keep watching the name.
        if (!watcher_->files().contains(requestPath_)) watcher_->addPath(requestPath_);
        emit FrontRequested();
    });
}

SingleInstance::~SingleInstance() {
    if (first_) {
        delete watcher_;
        QFile::remove(requestPath_);
        lock_->unlock();
    }
}

}  // namespace handheld
