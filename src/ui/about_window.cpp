#include "ui/about_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilo {
namespace {

QPushButton* linkButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName("link");
    button->setAccessibleName(name);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

AboutWindow::AboutWindow(AboutModel& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), model_(model) {
    setObjectName("aboutWindow");
    setWindowTitle("About");
    setAccessibleName("About");
    setModal(true);
    setFixedSize(360, 210);

    auto* layout = new QVBoxLayout(this);
    auto* product = new QLabel(QString::fromStdString(model.productText()), this);
    product->setObjectName("title");
    auto* version = new QLabel(QString::fromStdString(model.versionText()), this);
    version->setObjectName("versionLabel");
    auto* build = new QLabel(QString::fromStdString(model.buildText()), this);
    build->setObjectName("buildLabel");
    auto* updateLog = linkButton(AboutModel::UpdateLogLinkText, AboutModel::UpdateLogLinkText, this);
    auto* home = linkButton(AboutModel::HomePageLinkText, AboutModel::HomePageLinkText, this);
    auto* contact = linkButton(AboutModel::ContactLinkText, AboutModel::ContactLinkText, this);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");

    auto* links = new QHBoxLayout;
    for (QPushButton* link : {updateLog, home, contact})
        links->addWidget(link);
    links->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(build);
    layout->addStretch();
    layout->addLayout(links);
    layout->addLayout(buttons);

    connect(updateLog, &QPushButton::clicked, this, [this] { model_.ViewUpdateLog(); });
    connect(home, &QPushButton::clicked, this, [this] { model_.OpenHomePage(); });
    connect(contact, &QPushButton::clicked, this, [this] { model_.Contact(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace quilo
