#include "learn/start/help_form.h"

#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "ui/component.h"
#include "ui/win_color.h"

#include <QCoreApplication>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextEdit>

namespace zabko {

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("HelpForm"));
  resize(568, 398);
  SetBackgroundColor(this, 15789020);
  richEdit_ = new QTextEdit(this);
  richEdit_->setObjectName(QStringLiteral("RichEdit"));
  richEdit_->setGeometry(rect());
  richEdit_->setReadOnly(true);
  richEdit_->setFrameShape(QFrame::NoFrame);
  richEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  richEdit_->setLayoutDirection(Qt::RightToLeft);
  QPalette palette = richEdit_->palette();
  palette.setColor(QPalette::Base, WinColor(15985881));
  richEdit_->setPalette(palette);
  scrollBox1_ = new QScrollArea(this);
  scrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox1_->hide();
}

void THelpForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) Guarded([this] { FormShow(); });
}

void THelpForm::FormShow() {
  scrollBox1_->verticalScrollBar()->setValue(0);
  const QString folder = HelpFolder.isEmpty() ? QCoreApplication::applicationDirPath() : HelpFolder;
  const QString path = folder + QStringLiteral("/Data.hlp");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw Exception("Cannot open file \"" + path + "\"");
  richEdit_->setPlainText(QString::fromUtf8(file.readAll()));
}

}  // namespace zabko
