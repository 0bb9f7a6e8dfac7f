#include "gui/filter_list_box.h"
#include "gui/help_key.h"
#include "gui/options_dialog.h"
#include "settings/mail_security.h"
#include "settings/settings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

// The Options dialog's pages and buttons, each control named and joined to
// its handler.
namespace statvane {
namespace {

constexpr const char* kSiteExplanation =
    "In order to supplement the Top Pages report, Statvane needs to know the address of the web "
    "site to append to the front of a page request (e.g. http://www.example.com)";
constexpr const char* kCacheExplanation =
    "Statvane holds unresolvable addresses in a cache in order to enhance the \"DNS Resolve\" "
    "portion of the report.";
constexpr const char* kProxyExplanation =
    "If you wish to receive network information via a Proxy Server, you will need to fill in "
    "this information.  Please consult your Network Administrator for details.";
constexpr const char* kMailExplanation = "Statvane utilizes these settings to access the mail "
                                         "server, format the e-mail properly, and send the report.";

QLabel* explanation(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QPushButton* button(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

// A label and the field it names.
struct LabelledField {
    QString label;
    QWidget* field;
};

// A group's explanation, then its fields in rows of one or two: a lone field
// spans the row, two share it, each after its label. Two to a row keeps the
// Server Settings page short enough for a small screen at a large scale.
QGridLayout* fieldRows(QGroupBox* group, const QString& text,
                       std::initializer_list<std::initializer_list<LabelledField>> rows) {
    auto* grid = new QGridLayout(group);
    grid->addWidget(explanation(text), 0, 0, 1, 4);
    int row = 1;
    for (const auto& fields : rows) {
        int column = 0;
        for (const LabelledField& each : fields) {
            auto* label = new QLabel(each.label);
            label->setBuddy(each.field);
            grid->addWidget(label, row, column++);
            grid->addWidget(each.field, row, column++, 1, fields.size() == 1 ? 3 : 1);
        }
        ++row;
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    return grid;
}

// The fields of several groups start at the same distance from the left,
// and so do the second fields of their rows.
void alignFields(std::initializer_list<QGridLayout*> grids) {
    for (const int column : {0, 2}) {
        QList<QWidget*> labels;
        for (QGridLayout* grid : grids) {
            for (int row = 1; row < grid->rowCount(); ++row) {
                // A lone field spans the second pair's columns.
                QLayoutItem* item = grid->itemAtPosition(row, column);
                if (auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr)
                    labels << label;
            }
        }
        int width = 0;
        for (QWidget* label : labels)
            width = std::max(width, label->sizeHint().width());
        for (QWidget* label : labels)
            label->setMinimumWidth(width);
    }
}

} // namespace

QLineEdit* TForm3::textField(const char* name, void (TForm3::*handler)(const QString&)) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    connect(edit, &QLineEdit::textEdited, this, handler);
    return edit;
}

QWidget* TForm3::buildGeneralPage() {
    auto* browser = new QGroupBox(tr("Web Browser:"));
    RadioButton1 = new QRadioButton(tr("Use my &default browser to access web sites."));
    RadioButton1->setObjectName("RadioButton1");
    connect(RadioButton1, &QRadioButton::toggled, this, &TForm3::RadioButton1Toggled);
    RadioButton2 = new QRadioButton(tr("Use the &following browser to access web sites:"));
    RadioButton2->setObjectName("RadioButton2");
    connect(RadioButton2, &QRadioButton::toggled, this, &TForm3::RadioButton2Toggled);
    BrowserPathEdit = textField("BrowserPathEdit", &TForm3::BrowserPathEditChange);
    BrowserPathEdit->setEnabled(false);
    BrowseButton = button("BrowseButton", "...");
    BrowseButton->setAccessibleName(tr("Browse for the browser program"));
    BrowserPathEdit->setAccessibleName(RadioButton2->text().remove('&'));
    BrowseButton->setEnabled(false);
    BrowseButton->setFixedWidth(BrowseButton->fontMetrics().horizontalAdvance("...") * 3);
    connect(BrowseButton, &QPushButton::clicked, this, &TForm3::BrowseButtonClick);
    auto* browserLayout = new QGridLayout(browser);
    browserLayout->addWidget(RadioButton1, 0, 0, 1, 2);
    browserLayout->addWidget(RadioButton2, 1, 0, 1, 2);
    browserLayout->addWidget(BrowserPathEdit, 2, 0);
    browserLayout->addWidget(BrowseButton, 2, 1);

    auto* site = new QGroupBox(tr("Site Information:"));
    WebSiteEdit = textField("WebSiteEdit", &TForm3::WebSiteEditChange);
    auto* siteLayout = new QVBoxLayout(site);
    QLabel* siteText = explanation(tr(kSiteExplanation));
    siteText->setBuddy(WebSiteEdit);
    siteLayout->addWidget(siteText);
    siteLayout->addWidget(WebSiteEdit);

    auto* cache = new QGroupBox(tr("DNS Cache:"));
    MaxCacheEdit = textField("MaxCacheEdit", &TForm3::MaxCacheEditChange);
    auto* flush = button("FlushCacheButton", tr("&Flush Cache"));
    connect(flush, &QPushButton::clicked, this, &TForm3::FlushCacheButtonClick);
    auto* cacheLayout = new QGridLayout(cache);
    cacheLayout->addWidget(explanation(tr(kCacheExplanation)), 0, 0, 1, 2);
    auto* maxCacheLabel = new QLabel(tr("Maximum Number:"));
    maxCacheLabel->setBuddy(MaxCacheEdit);
    cacheLayout->addWidget(maxCacheLabel, 1, 0);
    cacheLayout->addWidget(MaxCacheEdit, 2, 0);
    cacheLayout->addWidget(flush, 2, 1);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QGroupBox* group : {browser, site, cache})
        layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* TForm3::buildFiltersPage() {
    auto* lists = new QGroupBox(tr("Filter Lists:"));
    VisitorBox = new FilterListBox(tr("&Visitor Filter List:"), "Visitor",
                                   settings_.VisitorFilterList, prompt_);
    ReferrerBox = new FilterListBox(tr("&Referrer Filter List:"), "Referrer",
                                    settings_.ReferrerFilterList, prompt_);
    TopPagesBox = new FilterListBox(tr("&Top Pages Filter List:"), "TopPages",
                                    settings_.TopPagesFilterList, prompt_);
    auto* listsLayout = new QVBoxLayout(lists);
    for (FilterListBox* box : {VisitorBox, ReferrerBox, TopPagesBox})
        listsLayout->addWidget(box);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lists);
    return page;
}

QWidget* TForm3::buildServerPage() {
    auto* proxy = new QGroupBox(tr("Proxy Settings:"));
    ProxyServerEdit = textField("ProxyServerEdit", &TForm3::ProxyServerEditChange);
    ProxyPortEdit = textField("ProxyPortEdit", &TForm3::ProxyPortEditChange);
    ProxyUserEdit = textField("ProxyUserEdit", &TForm3::ProxyUserEditChange);
    ProxyPasswordEdit = textField("ProxyPasswordEdit", &TForm3::ProxyPasswordEditChange);
    ProxyPasswordEdit->setEchoMode(QLineEdit::Password);
    QGridLayout* proxyLayout =
        fieldRows(proxy, tr(kProxyExplanation),
                  {{{tr("Server Address:"), ProxyServerEdit}, {tr("Port:"), ProxyPortEdit}},
                   {{tr("User Name:"), ProxyUserEdit}, {tr("Password:"), ProxyPasswordEdit}}});

    auto* mail = new QGroupBox(tr("Mail Server:"));
    MailServerEdit = textField("MailServerEdit", &TForm3::MailServerEditChange);
    MailSecurityCombo = new QComboBox;
    MailSecurityCombo->setObjectName("MailSecurityCombo");
    for (const char* name : kMailSecurityNames)
        MailSecurityCombo->addItem(name);
    // The user's choice only: showing the stored settings changes nothing.
    connect(MailSecurityCombo, &QComboBox::activated, this, &TForm3::MailSecurityComboChange);
    MailUserEdit = textField("MailUserEdit", &TForm3::MailUserEditChange);
    MailPasswordEdit = textField("MailPasswordEdit", &TForm3::MailPasswordEditChange);
    MailPasswordEdit->setEchoMode(QLineEdit::Password);
    MailSubjectEdit = textField("MailSubjectEdit", &TForm3::MailSubjectEditChange);
    MailFromEdit = textField("MailFromEdit", &TForm3::MailFromEditChange);
    MailReplyToEdit = textField("MailReplyToEdit", &TForm3::MailReplyToEditChange);
    QGridLayout* mailLayout =
        fieldRows(mail, tr(kMailExplanation),
                  {{{tr("Server:"), MailServerEdit}, {tr("Security:"), MailSecurityCombo}},
                   {{tr("User Name:"), MailUserEdit}, {tr("Password:"), MailPasswordEdit}},
                   {{tr("E-Mail Subject:"), MailSubjectEdit}},
                   {{tr("From:"), MailFromEdit}},
                   {{tr("Reply-To:"), MailReplyToEdit}}});
    alignFields({proxyLayout, mailLayout});

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(proxy);
    layout->addWidget(mail);
    layout->addStretch();
    return page;
}

// From right to left: "&Ok", "&Help", "&Cancel".
QWidget* TForm3::buildButtons() {
    OkButton = button("OkButton", tr("&Ok"));
    connect(OkButton, &QPushButton::clicked, this, &TForm3::OkButtonClick);
    auto* help = button("HelpButton", tr("&Help"));
    connect(help, &QPushButton::clicked, this, &TForm3::HelpButtonClick);
    bindHelpKey(*this, *help);
    auto* cancel = button("CancelButton", tr("&Cancel"));
    connect(cancel, &QPushButton::clicked, this, &TForm3::CancelButtonClick);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    for (QPushButton* each : {cancel, help, OkButton})
        layout->addWidget(each);
    return row;
}

} // namespace statvane
