#include "app/gui/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace zev {

AboutDialog::AboutDialog(const AboutInfo& info, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About ZEV Dialogue Tool"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(6);

    auto* name = new QLabel(QStringLiteral("ZEV Dialogue Tool"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name);

    auto addLine = [&](const QString& text, const char* objectName) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(objectName));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    };
    addLine(QStringLiteral("Version ") + QString::fromStdString(info.version), "version");
    addLine(QStringLiteral("Built ") + QString::fromStdString(info.buildDate), "buildDate");
    layout->addSpacing(8);
    addLine(QStringLiteral("Script functions: %1").arg(info.scriptFunctions), "scriptFunctions");
    addLine(QStringLiteral("Plug-ins: %1").arg(info.plugins), "plugins");
    layout->addSpacing(8);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace zev
