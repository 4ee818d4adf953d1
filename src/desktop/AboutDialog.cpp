#include "desktop/AboutDialog.h"

#include "desktop/DesktopIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* pParent) : QDialog(pParent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("ＮＥＬＯのﾊﾞｰｼﾞｮﾝ情報"));
    setAccessibleName(windowTitle());

    auto* pIcon = new QLabel(this);
    pIcon->setObjectName(QStringLiteral("aboutIcon"));
    pIcon->setAccessibleName(QStringLiteral("ＮＥＬＯのアイコン"));
    pIcon->setPixmap(AppIcon().pixmap(QSize(32, 32), devicePixelRatioF()));

    auto* pText = new QLabel(QStringLiteral("ＮＥＬＯ バージョン  １．００"), this);
    pText->setObjectName(QStringLiteral("aboutText"));
    pText->setAccessibleName(pText->text());
    pText->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("okButton"));
    pOk->setAccessibleName(QStringLiteral("OK"));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pOk);
    pButtons->addStretch();
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(14, 14, 14, 14);
    pLayout->setSpacing(16);
    pLayout->addWidget(pIcon, 0, Qt::AlignTop);
    pLayout->addWidget(pText, 1, Qt::AlignVCenter);
    pLayout->addLayout(pButtons);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
    pOk->setFocus();
}
