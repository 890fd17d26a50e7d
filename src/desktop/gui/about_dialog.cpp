#include "desktop/gui/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zev {

AboutDialog::AboutDialog(const AboutInfo& info, QWidget* parent, AboutPluginsModel* plugins)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About ZEV Dialogue Tool"));
    auto* outer = new QVBoxLayout(this);
    auto* about = new QWidget(this);
    auto* layout = new QVBoxLayout(about);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(6);

    auto* name = new QLabel(QStringLiteral("ZEV Dialogue Tool"), about);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name);
    auto* purpose = new QLabel(QStringLiteral("Write and play-test NPC conversation trees."), about);
    layout->addWidget(purpose);
    layout->addSpacing(8);

    auto addLine = [&](const QString& text, const char* objectName) {
        auto* label = new QLabel(text, about);
        label->setObjectName(QString::fromLatin1(objectName));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    };
    addLine(QStringLiteral("Version ") + QString::fromStdString(info.version), "version");
    addLine(QStringLiteral("Built ") + QString::fromStdString(info.buildDate), "buildDate");
    layout->addSpacing(8);
    addLine(QStringLiteral("Script functions: %1").arg(info.scriptFunctions), "scriptFunctions");
    addLine(QStringLiteral("Plug-ins: %1").arg(info.plugins), "plugins");
    layout->addStretch(1);

    if (plugins) {
        auto* tabs = new QTabWidget(this);
        tabs->addTab(about, QStringLiteral("About"));
        tabs->addTab(PluginPage(*plugins), QStringLiteral("Plug-ins"));
        outer->addWidget(tabs);
    } else {
        outer->addWidget(about);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    outer->addWidget(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* AboutDialog::PluginPage(AboutPluginsModel& model)
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Plug-ins loaded: %1").arg(model.PluginCount()), page));
    m_list = new QListWidget(page);
    m_list->setAccessibleName(QStringLiteral("Plug-ins"));
    for (const std::string& row : model.Rows())
        m_list->addItem(QString::fromStdString(row));
    m_list->setFixedHeight(110);
    layout->addWidget(m_list);
    m_details = new QLabel(page);
    m_details->setTextFormat(Qt::RichText);
    m_details->setWordWrap(true);
    m_details->setMinimumWidth(420);
    // Room for every detail line from the start: the fixed-size dialog must not jump on a selection.
    m_details->setMinimumHeight(m_details->fontMetrics().lineSpacing() * 9);
    m_details->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_details, 1);
    m_configure = new QPushButton(QStringLiteral("Configure plugin"), page);
    m_configure->setVisible(false);
    layout->addWidget(m_configure, 0, Qt::AlignLeft);
    connect(m_list, &QListWidget::currentRowChanged, this, [this, &model](int row) {
        model.Select(row);
        ShowSelected(model);
    });
    connect(m_details, &QLabel::linkActivated, this,
        [&model](const QString& target) { model.ClickLink(target.toStdString()); });
    connect(m_configure, &QPushButton::clicked, this, [&model] { model.ConfigurePlugin(); });
    if (m_list->count() > 0)
        m_list->setCurrentRow(0); // the page opens on the first plug-in's details
    return page;
}

void AboutDialog::ShowSelected(AboutPluginsModel& model)
{
    QString html;
    for (const std::string& line : model.DetailLines())
        html += QString::fromStdString(line) + QStringLiteral("<br>");
    m_details->setText(html);
    m_configure->setVisible(model.ConfigureVisible());
}

} // namespace zev
