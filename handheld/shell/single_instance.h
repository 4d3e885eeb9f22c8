// One program per handheld: the first start on a handheld home holds its lock; a later start on the same
// home finds it held, asks the first to come to the front and gives up. Another home runs beside it.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QFileSystemWatcher;

namespace handheld {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the program's window class and title, so that two programs on one home do not meet.
    explicit SingleInstance(const QString& name);
    ~SingleInstance() override;

    // True when this process is the first on the home; otherwise the first has been asked to the front.
    bool First() const { return first_; }

signals:
    // A later start asked the first to come to the front.
    void FrontRequested();

private:
    std::unique_ptr<QLockFile> lock_;
    QFileSystemWatcher* watcher_ = nullptr;
    QString requestPath_;
    bool first_ = false;
};

}  // namespace handheld
