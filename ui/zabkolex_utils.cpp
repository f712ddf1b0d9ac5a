#include "ui/zabkolex_utils.h"

#include "core/zabkolex_strings.h"
#include "net/zabkolex_central.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"

#include <QApplication>
#include <QEvent>
#include <QToolTip>

namespace zabko {
namespace {

const TZabkolexStrings& Table(const TZabkolexStrings* strings) {
  return strings ? *strings : Central().Strings();
}

// Caption and hint of one component by its name.
template <class Control, class SetCaption>
void ApplyText(const QString& prefix, Control* control, bool hintRequired,
               const TZabkolexStrings* strings, SetCaption setCaption) {
  const TZabkolexStrings& table = Table(strings);
  const QString base = prefix + '.' + control->objectName();
  setCaption(table.GetString(base + QStringLiteral(".Caption")));
  const QString hintKey = base + QStringLiteral(".Hint");
  if (!hintRequired && !table.HasString(hintKey)) return;
  control->setToolTip(table.GetString(hintKey));
}

// Chooses the hint font at each hint: the hovered word's font, or the screen's.
class TInternalHintWindow : public QObject {
 public:
  explicit TInternalHintWindow(QObject* parent) : QObject(parent), screenFont_(QToolTip::font()) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      QFont font = screenFont_;
      try {
        TZabkolexCentral& central = Central();
        if (central.WordHint) font = central.HintFont();
      } catch (...) {
        // No central object: the screen's hint font.
      }
      QToolTip::setFont(font);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QFont screenFont_;
};

}  // namespace

void ApplyPanelText(const QString& prefix, TNBase* panel, bool hintRequired, const TZabkolexStrings* strings) {
  ApplyText(prefix, panel, hintRequired, strings, [panel](const QString& text) { panel->SetCaption(text); });
}

void ApplyLabelText(const QString& prefix, TTntLabel* label, bool hintRequired, const TZabkolexStrings* strings) {
  ApplyText(prefix, label, hintRequired, strings, [label](const QString& text) { label->SetCaption(text); });
}

void ApplyPanelTexts(const QString& prefix, const QList<TNBase*>& panels, bool hintRequired,
                     const TZabkolexStrings* strings) {
  for (TNBase* panel : panels) ApplyPanelText(prefix, panel, hintRequired, strings);
}

void ApplyLabelTexts(const QString& prefix, const QList<TTntLabel*>& labels, bool hintRequired,
                     const TZabkolexStrings* strings) {
  for (TTntLabel* label : labels) ApplyLabelText(prefix, label, hintRequired, strings);
}

void ArrangeInRow(const QList<QWidget*>& controls) {
  if (controls.size() < 2) return;
  const bool leftToRight = controls[0]->x() < controls[1]->x();
  for (qsizetype i = 1; i < controls.size(); ++i) {
    const QWidget* before = controls[i - 1];
    QWidget* control = controls[i];
    const int left = leftToRight ? before->x() + before->width() : before->x() - control->width();
    control->move(left, control->y());
  }
}

void ArrangeLabelsInRow(const QList<TTntLabel*>& labels) {
  QList<QWidget*> controls;
  for (TTntLabel* label : labels) controls << label;
  ArrangeInRow(controls);
}

void InstallHintWindow() {
  static TInternalHintWindow* installed = nullptr;
  if (installed || !qApp) return;
  installed = new TInternalHintWindow(qApp);
  qApp->installEventFilter(installed);
}

}  // namespace zabko
