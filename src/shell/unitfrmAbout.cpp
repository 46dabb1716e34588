#include "shell/unitfrmAbout.h"

#include "app/unitAppInfo.h"
#include "app/unitErrorHandler.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The banner is painted here rather than shipped as a picture file.
QPixmap bannerPicture()
{
    QPixmap pixmap(360, 72);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, pixmap.width(), 0);
    gradient.setColorAt(0, QColor(0, 115, 225));
    gradient.setColorAt(1, QColor(20, 40, 90));
    painter.fillRect(pixmap.rect(), gradient);
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Liberation Sans"), 22, QFont::Bold);
    painter.setFont(title);
    painter.drawText(pixmap.rect().adjusted(16, 0, 0, -14), Qt::AlignLeft | Qt::AlignVCenter, GetProductName());
    QFont maker(QStringLiteral("Liberation Sans"), 9);
    painter.setFont(maker);
    painter.drawText(pixmap.rect().adjusted(18, 0, 0, -8), Qt::AlignLeft | Qt::AlignBottom, GetMakerCompanyName());
    return pixmap;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));

    imgBanner = new QLabel(this);
    imgBanner->setObjectName(QStringLiteral("imgBanner"));
    imgBanner->setPixmap(bannerPicture());

    lblAuthorWebsite = new QLabel(this);
    lblAuthorWebsite->setObjectName(QStringLiteral("lblAuthorWebsite"));
    QFont linkFont = lblAuthorWebsite->font();
    linkFont.setBold(true);
    linkFont.setUnderline(true);
    lblAuthorWebsite->setFont(linkFont);
    QPalette linkPalette = lblAuthorWebsite->palette();
    linkPalette.setColor(QPalette::WindowText, Qt::blue);
    lblAuthorWebsite->setPalette(linkPalette);
    lblAuthorWebsite->setCursor(Qt::PointingHandCursor);
    lblAuthorWebsite->installEventFilter(this);

    txtAboutInfo = new QPlainTextEdit(this);
    txtAboutInfo->setObjectName(QStringLiteral("txtAboutInfo"));
    txtAboutInfo->setReadOnly(true);
    txtAboutInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtAboutInfo->setFixedHeight(110);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(imgBanner);
    layout->addWidget(lblAuthorWebsite);
    layout->addWidget(txtAboutInfo);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) RunGuarded([this] { pShowFormInformation(); });
}

void TfrmAbout::pShowFormInformation()
{
    btnOK->setToolTip(QStringLiteral("Close"));
    lblAuthorWebsite->setToolTip(QStringLiteral("Click to visit ") + GetMakerCompanyName() + QStringLiteral(" Website."));
    setWindowTitle(QStringLiteral("About ") + GetProductName());
    lblAuthorWebsite->setText(QStringLiteral("Visit ") + GetMakerCompanyName());
    txtAboutInfo->setPlainText(QStringList{GetMakerCompanyName(), QString(), QStringLiteral("Product Information:"),
                                           GetProductName(),
                                           QStringLiteral("Version ") + GetMajorVersion() + GetMinorVersion()}
                                   .join('\n'));
    btnOK->setFocus();
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblAuthorWebsite && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        RunGuarded([] { OpenMakerWebSite(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
