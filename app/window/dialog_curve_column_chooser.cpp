// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <memory>

#include "window/curve_column_chooser.h"

namespace dispfit {

namespace {

QComboBox* columnList(QWidget* parent, const QStringList& header, int selected) {
  auto* list = new QComboBox(parent);  // owned by the dialog
  for (qsizetype i = 0; i < header.size(); ++i) {
    list->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(header[i]));
  }
  list->setCurrentIndex(std::min<int>(selected, static_cast<int>(header.size()) - 1));
  return list;
}

}  // namespace

QString columnChoiceText(const QString& abscissaKey, int abscissa, int velocity,
                         const QString& spread, int low, int high) {
  QString text = QStringLiteral("%1=%2,v=%3").arg(abscissaKey).arg(abscissa).arg(velocity);
  if (spread == QStringLiteral("sigma")) text += QStringLiteral(",sigma=%1").arg(low);
  if (spread == QStringLiteral("bounds")) {
    text += QStringLiteral(",low=%1,high=%2").arg(low).arg(high);
  }
  return text;
}

std::optional<QString> DialogCurveColumnChooser::chooseColumns(QWidget* parent,
                                                               const QString& fileName,
                                                               const QStringList& header) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QCoreApplication::translate("CurveColumnChooser", "选择曲线的各列"));
  auto* layout = new QVBoxLayout(&dialog);  // owned by the dialog
  auto* note =
      new QLabel(QCoreApplication::translate("CurveColumnChooser",
                                             "%1 的表头不是曲线表认得的名称。请说明哪一列是什么：")
                     .arg(fileName),
                 &dialog);
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* form = new QFormLayout;  // owned by the layout
  layout->addLayout(form);
  auto* kind = new QComboBox(&dialog);
  kind->addItem(QCoreApplication::translate("CurveColumnChooser", "频率 (Hz)"),
                QStringLiteral("f"));
  kind->addItem(QCoreApplication::translate("CurveColumnChooser", "波长 (m)"),
                QStringLiteral("lambda"));
  kind->addItem(QCoreApplication::translate("CurveColumnChooser", "周期 (s)"), QStringLiteral("t"));
  QComboBox* abscissa = columnList(&dialog, header, 0);
  QComboBox* velocity = columnList(&dialog, header, 1);
  auto* spread = new QComboBox(&dialog);
  spread->addItem(QCoreApplication::translate("CurveColumnChooser", "无"), QString());
  spread->addItem(QCoreApplication::translate("CurveColumnChooser", "标准差"),
                  QStringLiteral("sigma"));
  spread->addItem(QCoreApplication::translate("CurveColumnChooser", "下限与上限"),
                  QStringLiteral("bounds"));
  QComboBox* low = columnList(&dialog, header, 2);
  QComboBox* high = columnList(&dialog, header, 3);
  form->addRow(QCoreApplication::translate("CurveColumnChooser", "横坐标："), kind);
  form->addRow(QCoreApplication::translate("CurveColumnChooser", "横坐标所在列："), abscissa);
  form->addRow(QCoreApplication::translate("CurveColumnChooser", "相速度 (m/s) 所在列："),
               velocity);
  form->addRow(QCoreApplication::translate("CurveColumnChooser", "误差："), spread);
  form->addRow(QCoreApplication::translate("CurveColumnChooser", "标准差或下限所在列："), low);
  form->addRow(QCoreApplication::translate("CurveColumnChooser", "上限所在列："), high);
  const auto showSpread = [spread, low, high] {
    const QString chosen = spread->currentData().toString();
    low->setEnabled(!chosen.isEmpty());
    high->setEnabled(chosen == QStringLiteral("bounds"));
  };
  QObject::connect(spread, &QComboBox::currentIndexChanged, &dialog, showSpread);
  showSpread();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return columnChoiceText(kind->currentData().toString(), abscissa->currentIndex() + 1,
                          velocity->currentIndex() + 1, spread->currentData().toString(),
                          low->currentIndex() + 1, high->currentIndex() + 1);
}

}  // namespace dispfit
