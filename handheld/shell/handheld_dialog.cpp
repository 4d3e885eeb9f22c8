#include "handheld/shell/handheld_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <deque>

#include "handheld/shell/fonts.h"
#include "handheld/shell/screen.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

std::deque<DialogScript>& Scripts() {
    static std::deque<DialogScript> scripts;
    return scripts;
}

QRect RectOf(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    if (a.size() != 4) return {};
    return {a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()};
}

QWidget* MakeControl(const QString& kind, const QString& text, QWidget* parent) {
    if (kind == QLatin1String("static")) return new QLabel(text, parent);
    if (kind == QLatin1String("edit")) return new QLineEdit(text, parent);
    if (kind == QLatin1String("combo")) return new QComboBox(parent);
    if (kind == QLatin1String("check")) return new QCheckBox(text, parent);
    if (kind == QLatin1String("button")) return new QPushButton(text, parent);
    if (kind == QLatin1String("list")) return new QListWidget(parent);
    return nullptr;
}

}  // namespace

void QueueDialogScript(DialogScript script) {
    Scripts().push_back(std::move(script));
}

std::size_t PendingDialogScripts() {
    return Scripts().size();
}

void ClearDialogScripts() {
    Scripts().clear();
}

HandheldScreen* HandheldDialog::ScreenOf(QWidget* owner) {
    for (QWidget* w = owner; w != nullptr; w = w->parentWidget()) {
        if (auto* screen = qobject_cast<HandheldScreen*>(w)) return screen;
    }
    return CurrentScreen();
}

HandheldDialog::HandheldDialog(QWidget* owner, int resourceId, const QString& title)
    : QDialog(ScreenOf(owner)),
      owner_(owner),
      screen_(ScreenOf(owner)),
      resourceId_(resourceId),
      title_(title),
      orientation_(CurrentOrientation()) {
    setObjectName(QString::number(resourceId));
    // A child of the screen, not a desktop window; without a screen (tools) it stands alone at screen size.
    if (screen_ != nullptr) setWindowFlags(Qt::Widget);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    setWindowTitle(title);
    setFont(DialogFont());
    if (resourceId != 0) BuildFromTemplate(resourceId);
    if (screen_ != nullptr) {
        connect(screen_, &HandheldScreen::ScreenTurned, this, [this](Orientation) {
            Relayout();
            OnScreenTurned(orientation_);
            emit LaidOut(orientation_);
        });
    }
    Relayout();
}

void HandheldDialog::BuildFromTemplate(int resourceId) {
    QFile file(QStringLiteral(":/dialogs/%1.json").arg(resourceId));
    if (!file.open(QIODevice::ReadOnly)) {
        HH_TRACE("dialog", "no dialog template %d", resourceId);
        return;
    }
    const QJsonObject dialog = QJsonDocument::fromJson(file.readAll()).object();
    if (title_.isEmpty()) {
        title_ = dialog.value("title").toString();
        setWindowTitle(title_);
    }
    const QJsonArray controls = dialog.value("controls").toArray();
    std::vector<ControlPlacement> placements;
    for (const QJsonValue& value : controls) {
        const QJsonObject control = value.toObject();
        const int id = control.value("id").toInt();
        QWidget* widget = MakeControl(control.value("kind").toString(), control.value("text").toString(), this);
        if (widget == nullptr) {
            HH_TRACE("dialog", "template %d: control %d of unknown kind", resourceId, id);
            continue;
        }
        widget->setObjectName(QString::number(id));
        placements.push_back({id, RectOf(control.value("portrait")), RectOf(control.value("landscape"))});
    }
    AddPlacements(placements);
}

QWidget* HandheldDialog::Control(int id) const {
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void HandheldDialog::AddPlacements(std::span<const ControlPlacement> placements) {
    for (const ControlPlacement& placement : placements) {
        auto same = std::find_if(placements_.begin(), placements_.end(),
                                 [&](const ControlPlacement& p) { return p.id == placement.id; });
        if (same != placements_.end()) {
            *same = placement;
        } else {
            placements_.push_back(placement);
        }
    }
    Relayout();
}

void HandheldDialog::Relayout() {
    orientation_ = screen_ != nullptr ? screen_->orientation() : CurrentOrientation();
    setGeometry(QRect(QPoint(0, 0), ScreenSize(orientation_)));
    for (const ControlPlacement& placement : placements_) {
        if (QWidget* control = Control(placement.id)) {
            control->setGeometry(orientation_ == Orientation::Portrait ? placement.portrait : placement.landscape);
        }
    }
    update();
}

void HandheldDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setFont(DialogFont(kDialogTitleFontPx, true));
    painter.setPen(QColor(0, 0, 255));  // 0x00FF0000 in the handheld's blue-green-red order
    painter.drawText(kDialogTitleRect, Qt::AlignLeft | Qt::AlignVCenter, title_);
    painter.setPen(Qt::black);
    painter.drawLine(0, kDialogTitleLineY, 320, kDialogTitleLineY);
}

int HandheldDialog::Run() {
    Relayout();
    OnScreenTurned(orientation_);
    raise();
    running_ = true;
    if (!Scripts().empty()) {
        DialogScript script = std::move(Scripts().front());
        Scripts().pop_front();
        QTimer::singleShot(0, this, [this, script = std::move(script)] {
            script(*this);
            if (running_) {
                HH_TRACE("dialog", "dialog %d left open by its script: cancelled", resourceId_);
                reject();
            }
        });
    }
    return exec();
}

void HandheldDialog::done(int result) {
    running_ = false;
    QDialog::done(result);
}

}  // namespace handheld
