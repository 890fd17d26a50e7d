#include "editors/gui/preferences_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/gui/qt_text.h"

namespace zev {

using namespace editor_gui;
using Model = PreferencesModel;

namespace {

// Alt+letters of the check boxes, in the order of the model's table.
constexpr char kCheckLetters[kPrefCheckCount] = { 'd', 'u', 'w', 'r', 'e', 'v', 's', 'a', 'p' };
constexpr char kFolderLetters[kPrefFolderCount] = { 'l', 'm', 'h', 'b' };

} // namespace

PreferencesWindow::PreferencesWindow(PreferencesModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("preferencesWindow"));
    setWindowTitle(Caption(Model::kCaption));
    // The title bar's "?" starts the context help.
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("preferencesTabs"));
    m_tabs->addTab(BuildGeneral(), Caption(Model::kTabs[0]));
    m_tabs->addTab(BuildEditing(), Caption(Model::kTabs[1]));
    m_tabs->addTab(BuildEngine(), Caption(Model::kTabs[2]));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.SetTab(static_cast<PrefTab>(i));
    });
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    setMinimumWidth(520);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

PreferencesWindow::~PreferencesWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

void PreferencesWindow::OfferHelp(QWidget* control, std::string_view hint)
{
    if (!hint.empty())
        control->setToolTip(Caption(hint));
    control->setWhatsThis(hint.empty() ? control->accessibleName() : Caption(hint));
    control->installEventFilter(this);
}

void PreferencesWindow::AddChecks(PrefTab tab, QWidget* page, QVBoxLayout* layout)
{
    for (const Model::CheckInfo& c : Model::kChecks) {
        if (c.tab != tab)
            continue;
        const auto at = static_cast<std::size_t>(c.check);
        QCheckBox* box = MakeCheck(c.caption, page, m_mnemonics, kCheckLetters[at]);
        OfferHelp(box, c.hint);
        connect(box, &QCheckBox::toggled, this, [this, which = c.check](bool on) {
            if (!m_redrawing)
                m_model.SetChecked(which, on);
        });
        layout->addWidget(box);
        m_checks[at] = box;
    }
}

QWidget* PreferencesWindow::BuildGeneral()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    AddChecks(PrefTab::General, page, layout);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const Model::FolderInfo& f : Model::kFolders) {
        const auto at = static_cast<std::size_t>(f.folder);
        auto* field = new QLineEdit(page);
        field->setObjectName(QStringLiteral("folderField%1").arg(at));
        QLabel* label = LabelFor(f.caption, field, page, &m_mnemonics, kFolderLetters[at]);
        OfferHelp(field, f.hint);
        connect(field, &QLineEdit::textEdited, this, [this, which = f.folder](const QString& text) {
            if (!m_redrawing)
                m_model.SetFolder(which, PathFromQString(text));
        });
        // "..." says nothing to a screen reader: the chooser is named after its field.
        auto* choose = new QPushButton(QStringLiteral("..."), page);
        choose->setAutoDefault(false);
        choose->setAccessibleName(QStringLiteral("Choose ") + SpokenName(f.caption));
        choose->setToolTip(choose->accessibleName());
        choose->setMaximumWidth(choose->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
        connect(choose, &QPushButton::clicked, this, [this, which = f.folder] { m_model.ChooseFolder(which); });
        grid->addWidget(label, row++, 0, 1, 2);
        grid->addWidget(field, row, 0);
        grid->addWidget(choose, row++, 1);
        m_folders[at] = field;
        m_folderButtons[at] = choose;
    }
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QSpinBox* PreferencesWindow::MakeSpin(QWidget* page, void (PreferencesModel::*set)(int32_t))
{
    auto* spin = new QSpinBox(page);
    spin->setRange(Model::kMinInt, Model::kMaxInt);
    spin->setMinimumWidth(spin->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 40);
    connect(spin, &QSpinBox::valueChanged, this, [this, set](int v) {
        if (m_redrawing)
            return;
        (m_model.*set)(v);
        Redraw(); // the model keeps a changed value within its range
    });
    return spin;
}

QWidget* PreferencesWindow::BuildEditing()
{
    auto* page = new QWidget(this);
    m_clonedFormat = new QLineEdit(page);
    m_clonedFormat->setObjectName(QStringLiteral("clonedNodeFormat"));
    QLabel* formatLabel = LabelFor(Model::kClonedNodeLabel, m_clonedFormat, page, &m_mnemonics, 'f');
    OfferHelp(m_clonedFormat, {});
    connect(m_clonedFormat, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_redrawing)
            m_model.SetClonedNodeFormat(FromQString(text, m_encoding));
    });
    m_smart = MakeSpin(page, &Model::SetSmartInt);
    m_smart->setObjectName(QStringLiteral("smartInt"));
    QLabel* smartLabel = LabelFor(Model::kSmartLabel, m_smart, page, &m_mnemonics, 'i');
    OfferHelp(m_smart, {});
    m_dumb = MakeSpin(page, &Model::SetDumbInt);
    m_dumb->setObjectName(QStringLiteral("dumbInt"));
    QLabel* dumbLabel = LabelFor(Model::kDumbLabel, m_dumb, page, &m_mnemonics, 'n');
    OfferHelp(m_dumb, {});

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(formatLabel);
    layout->addWidget(m_clonedFormat);
    layout->addSpacing(6);
    auto* ints = new QGridLayout;
    ints->addWidget(smartLabel, 0, 0);
    ints->addWidget(m_smart, 0, 1);
    ints->addWidget(dumbLabel, 1, 0);
    ints->addWidget(m_dumb, 1, 1);
    ints->setColumnStretch(2, 1);
    layout->addLayout(ints);
    layout->addSpacing(6);
    AddChecks(PrefTab::Editing, page, layout);
    layout->addStretch(1);
    return page;
}

QWidget* PreferencesWindow::BuildEngine()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    AddChecks(PrefTab::Engine, page, layout);
    layout->addStretch(1);
    return page;
}

bool PreferencesWindow::exec(PreferencesModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    m_tabs->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void PreferencesWindow::Redraw()
{
    m_redrawing = true;
    m_tabs->setCurrentIndex(static_cast<int>(m_model.tab()));
    for (const Model::CheckInfo& c : Model::kChecks)
        check(c.check)->setChecked(m_model.checked(c.check));
    for (const Model::FolderInfo& f : Model::kFolders) {
        const QString path = PathToQString(m_model.folder(f.folder));
        if (folderField(f.folder)->text() != path)
            folderField(f.folder)->setText(path);
    }
    const QString format = ToQString(m_model.clonedNodeFormat(), m_encoding);
    if (m_clonedFormat->text() != format)
        m_clonedFormat->setText(format);
    // A value from the file outside the usual range is shown as it is: the range widens to hold it.
    for (auto [spin, value] : { std::pair { m_smart, m_model.smartInt() }, std::pair { m_dumb, m_model.dumbInt() } }) {
        spin->setRange(std::min(Model::kMinInt, value), std::max(Model::kMaxInt, value));
        spin->setValue(value);
    }
    m_redrawing = false;
}

bool PreferencesWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WhatsThis)
        if (auto* w = qobject_cast<QWidget*>(watched))
            m_model.HelpPopup(w->accessibleName().toStdString());
    return QDialog::eventFilter(watched, event); // the help text still shows
}

} // namespace zev
