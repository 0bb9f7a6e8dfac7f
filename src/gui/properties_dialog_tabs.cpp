#include "gui/help_key.h"
#include "gui/period_chooser.h"
#include "gui/properties_dialog.h"
#include "gui/report_banner.h"
#include "profiles/report_profile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

// The properties dialog's banner, tabs and buttons, each control named and
// joined to its handler.
namespace statvane {
namespace {

constexpr int kIndent = 20;

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLabel* tabText(QWidget* tab, const char* name, const QString& text) {
    auto* label = named(new QLabel(text, tab), name);
    label->setWordWrap(true);
    return label;
}

// A control set in from the left, below the one it belongs to.
QHBoxLayout* indented(QWidget* control) {
    auto* row = new QHBoxLayout;
    row->addSpacing(kIndent);
    row->addWidget(control);
    return row;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

} // namespace

void TForm2::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(new ReportBanner(this));
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->addTab(buildGeneralTab(), tr("General"));
    TabSheet2 = buildSelectionsTab();
    PageControl1->addTab(TabSheet2, tr("Selections"));
    TabSheet3 = buildInputsTab();
    PageControl1->addTab(TabSheet3, tr("Inputs"));
    TabSheet4 = buildOutputTab();
    PageControl1->addTab(TabSheet4, tr("Output"));
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(PageControl1, 1);
    body->addWidget(buildButtons());
    layout->addLayout(body, 1);
}

QWidget* TForm2::buildGeneralTab() {
    auto* tab = named(new QWidget, "TabSheet1");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(tabText(tab, "Label1",
                              tr("This tab contains basic information for this report, such as its "
                                 "name and description.  These settings are displayed in the "
                                 "listbox on the main screen.")));
    layout->addSpacing(8);
    NameEdit = named(new QLineEdit(tab), "NameEdit");
    auto* nameLabel = named(new QLabel(tr("Name:"), tab), "Label5");
    nameLabel->setBuddy(NameEdit);
    layout->addWidget(nameLabel);
    layout->addWidget(NameEdit);
    DescriptionEdit = named(new QLineEdit(tab), "DescriptionEdit");
    auto* descriptionLabel = named(new QLabel(tr("Description:"), tab), "Label6");
    descriptionLabel->setBuddy(DescriptionEdit);
    layout->addWidget(descriptionLabel);
    layout->addWidget(DescriptionEdit);
    layout->addStretch(1);
    return tab;
}

QWidget* TForm2::buildSelectionsTab() {
    auto* tab = named(new QWidget, "TabSheet2");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(tabText(tab, "Label2",
                              tr("Customize this report by selecting which items you would like "
                                 "Statvane to include in the output file.")));
    layout->addSpacing(4);
    const auto box = [tab](const char* name, const QString& caption) {
        return named(new QCheckBox(caption, tab), name);
    };
    CheckBox1 = box("CheckBox1", tr("Visitors List (counted by unique IP addresses)"));
    CheckBox2 = box("CheckBox2", tr("Perform DNS look-up for unresolved IP addresses"));
    CheckBox3 = box("CheckBox3", tr("Referrer List"));
    CheckBox4 = box("CheckBox4", tr("Top Pages"));
    CheckBox5 = box("CheckBox5", tr("Calculate Total Bytes Transferred"));
    CheckBox6 = box("CheckBox6", tr("Most Popular Browser"));
    TrafficCheckBox =
        box("TrafficCheckBox", tr("Traffic over Time (hits and visitors per day and hour)"));
    StatusCheckBox = box("StatusCheckBox", tr("Status Codes (errors and pages not found)"));
    layout->addWidget(CheckBox1);
    layout->addLayout(indented(CheckBox2));
    layout->addWidget(CheckBox3);
    layout->addWidget(CheckBox4);
    layout->addLayout(indented(CheckBox5));
    layout->addWidget(CheckBox6);
    layout->addWidget(TrafficCheckBox);
    layout->addWidget(StatusCheckBox);
    layout->addStretch(1);
    layout->addLayout(buildLineChoices(tab));
    return tab;
}

// Which lines the analyses count: those of the period, robots' or not.
QLayout* TForm2::buildLineChoices(QWidget* tab) {
    period_ = new PeriodChooser(tab);
    RobotsComboBox = named(new QComboBox(tab), "RobotsComboBox");
    const std::pair<RobotChoice, QString> robots[] = {
        {RobotChoice::Include, tr("Count robots as visitors")},
        {RobotChoice::Exclude, tr("Leave robots out")},
        {RobotChoice::Only, tr("Count only robots")}};
    for (const auto& [choice, text] : robots)
        RobotsComboBox->addItem(text, static_cast<int>(choice));
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(tr("&Period:"), period_);
    form->addRow(tr("&Robots:"), RobotsComboBox);
    return form;
}

QWidget* TForm2::buildInputsTab() {
    auto* tab = named(new QWidget, "TabSheet3");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(tabText(tab, "Label3",
                              tr("This tab adjusts settings relating to the input and output files "
                                 "that Statvane will produce.")));
    ListView1 = named(new QListWidget(tab), "ListView1");
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed);
    connect(ListView1, &QListWidget::itemClicked, this, &TForm2::ListView1Click);
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, ListView1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &TForm2::DeleteButtonClick);

    auto* buttons = new QVBoxLayout;
    const auto listButton = [&](const char* name, const QString& caption,
                                void (TForm2::*handler)()) {
        auto* pushButton = button(tab, name, caption);
        connect(pushButton, &QPushButton::clicked, this, handler);
        buttons->addWidget(pushButton);
        return pushButton;
    };
    listButton("AddButton", tr("&Add"), &TForm2::AddButtonClick);
    DeleteButton = listButton("DeleteButton", tr("&Delete"), &TForm2::DeleteButtonClick);
    listButton("FolderButton", tr("&Folder"), &TForm2::FolderButtonClick);
    listButton("BrowseButton", tr("&Browse"), &TForm2::BrowseButtonClick);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(ListView1, 1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);
    return tab;
}

QWidget* TForm2::buildOutputTab() {
    auto* tab = named(new QWidget, "TabSheet4");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(tabText(tab, "Label4",
                              tr("Statvane needs to know how to display the results of its "
                                 "analysis.  Select from displaying it in the program, outputting "
                                 "it to a file, or sending it through e-mail.")));
    layout->addSpacing(4);
    ScreenRadioButton = named(
        new QRadioButton(
            tr("Output to a screen within the program (can be optionally saved to a file)"), tab),
        "ScreenRadioButton");
    FileRadioButton =
        named(new QRadioButton(tr("Save to the following file:"), tab), "FileRadioButton");
    OutputFileEdit = named(new QLineEdit(tab), "OutputFileEdit");
    BrowseOutputButton = button(tab, "BrowseOutputButton", "...");
    BrowseOutputButton->setFixedWidth(BrowseOutputButton->fontMetrics().horizontalAdvance("...") +
                                      20);
    EmailCheckBox =
        named(new QCheckBox(tr("  E-Mail this report to the following addresses:"), tab),
              "EmailCheckBox");
    EmailEdit = named(new QLineEdit(tab), "EmailEdit");
    OutputFileEdit->setAccessibleName(FileRadioButton->text());
    EmailEdit->setAccessibleName(EmailCheckBox->text().trimmed());
    BrowseOutputButton->setAccessibleName(tr("Browse for the output file"));
    connect(ScreenRadioButton, &QRadioButton::toggled, this, &TForm2::ScreenRadioButtonClick);
    connect(FileRadioButton, &QRadioButton::toggled, this, &TForm2::FileRadioButtonClick);
    connect(EmailCheckBox, &QCheckBox::toggled, this, &TForm2::EmailCheckBoxClick);
    connect(BrowseOutputButton, &QPushButton::clicked, this, &TForm2::BrowseOutputButtonClick);

    layout->addWidget(ScreenRadioButton);
    layout->addWidget(FileRadioButton);
    QHBoxLayout* fileRow = indented(OutputFileEdit);
    fileRow->addWidget(BrowseOutputButton);
    layout->addLayout(fileRow);
    layout->addSpacing(4);
    layout->addWidget(EmailCheckBox);
    layout->addLayout(indented(EmailEdit));
    layout->addStretch(1);
    return tab;
}

QWidget* TForm2::buildButtons() {
    auto* foot = new QWidget(this);
    auto* layout = new QHBoxLayout(foot);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addStretch(1);
    OkButton = named(new QPushButton(tr("&Ok"), foot), "OkButton");
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &TForm2::OkButtonClick);
    auto* helpButton = button(foot, "HelpButton", tr("&Help"));
    connect(helpButton, &QPushButton::clicked, this, &TForm2::HelpButtonClick);
    bindHelpKey(*this, *helpButton);
    auto* cancelButton = button(foot, "CancelButton", tr("&Cancel"));
    connect(cancelButton, &QPushButton::clicked, this, &TForm2::CancelButtonClick);
    layout->addWidget(OkButton);
    layout->addWidget(helpButton);
    layout->addWidget(cancelButton);
    return foot;
}

} // namespace statvane
