// Captions and hints from the text pack, row arrangement of labels, and the hint window that
// shows a hovered word's font.
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace zabko {

class TNBase;
class TTntLabel;
class TZabkolexStrings;

// The caption becomes the text of Prefix + "." + the component's name + ".Caption". The hint
// key is Prefix + "." + name + ".Hint": when the hint is not required and the pack has no such
// key, the hint stays; otherwise it becomes that text (a missing key then fails with "Invalid
// string for: " + key). Without a table the central object's is used.
void ApplyPanelText(const QString& prefix, TNBase* panel, bool hintRequired,
                    const TZabkolexStrings* strings = nullptr);
void ApplyLabelText(const QString& prefix, TTntLabel* label, bool hintRequired,
                    const TZabkolexStrings* strings = nullptr);
void ApplyPanelTexts(const QString& prefix, const QList<TNBase*>& panels, bool hintRequired,
                     const TZabkolexStrings* strings = nullptr);
void ApplyLabelTexts(const QString& prefix, const QList<TTntLabel*>& labels, bool hintRequired,
                     const TZabkolexStrings* strings = nullptr);

// Places the controls side by side without gaps, in the direction of the first two: when the
// first one's left edge is left of the second's, each further one starts at the right edge of
// the one before; otherwise each ends at the left edge of the one before. One control or none
// is left alone.
void ArrangeInRow(const QList<QWidget*>& controls);
void ArrangeLabelsInRow(const QList<TTntLabel*>& labels);

// Makes hint windows show in the central object's hint font while the mouse is over a word row
// (its word-hint flag), and in the screen's hint font otherwise. Installed once per process.
void InstallHintWindow();

}  // namespace zabko
