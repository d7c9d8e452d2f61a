#include "mainwindow/CManualWindow.h"
#include "app/ClientSettingsKeys.h"

#include "ui_CManualWindow.h"

#include "IDeviceGui.h"
#include "app/CClientSession.h"
#include "app/CTranslationSet.h"

#include <QSettings>
#include <QTextDocument>

namespace {

const QRect DEFAULT_GEOMETRY(110, 110, 400, 600);

const char* const FIND_EMPTY = "QLineEdit { background: white }";
const char* const FIND_FOUND = "QLineEdit { background: rgb(127, 255, 127) }";
const char* const FIND_MISSING = "QLineEdit { background: rgb(255, 127, 127) }";

} // namespace

CManualWindow::CManualWindow(QWidget* parent)
    : QWidget(parent)
    , m_pUi(std::make_unique<Ui::CManualWindow>())
{
    m_pUi->setupUi(this);
    // A title bar without close, minimise or maximise: the window only hides.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    connect(m_pUi->m_pHideButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_pUi->m_pFindEdit, &QLineEdit::textChanged, this, &CManualWindow::OnFindEdit);
    connect(m_pUi->m_pFindEdit, &QLineEdit::returnPressed, this, &CManualWindow::OnFindEditReturn);
    ShowManual();
    m_pUi->m_pFindEdit->setFocus();
    setGeometry(QSettings().value(QLatin1String(ClientSettingsKeys::MANUAL_GEOMETRY), DEFAULT_GEOMETRY).toRect());
}

CManualWindow::~CManualWindow()
{
    QSettings().setValue(QLatin1String(ClientSettingsKeys::MANUAL_GEOMETRY), geometry());
}

void CManualWindow::ShowManual()
{
    if (IDeviceGui* gui = CClientSession::DeviceGui())
        gui->ShowManual(CTranslationSet::Instance().GetLanguage(), m_pUi->m_pTextBrowser);
}

void CManualWindow::OnFindEdit(QString strText)
{
    // Typing refines the match in place: the longer text is looked for from
    // where the shorter one was found, not after it.
    Find(strText, m_pUi->m_pTextBrowser->textCursor().selectionStart());
}

void CManualWindow::OnFindEditReturn()
{
    Find(m_pUi->m_pFindEdit->text(), m_pUi->m_pTextBrowser->textCursor().selectionEnd());
}

void CManualWindow::Find(const QString& text, int from)
{
    if (text.isEmpty()) {
        m_pUi->m_pFindEdit->setStyleSheet(QLatin1String(FIND_EMPTY));
        return;
    }
    QTextBrowser* browser = m_pUi->m_pTextBrowser;
    QTextDocument* page = browser->document();
    // Past the last match the search goes on from the top, so that red means
    // the page does not hold the text. A miss leaves the last match selected.
    QTextCursor match = page->find(text, from);
    if (match.isNull())
        match = page->find(text, 0);
    if (!match.isNull()) {
        browser->setTextCursor(match);
        browser->ensureCursorVisible();
    }
    m_pUi->m_pFindEdit->setStyleSheet(QLatin1String(match.isNull() ? FIND_MISSING : FIND_FOUND));
}

void CManualWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The manual is a page per language: the browser drops the old one
        // so that the new one is loaded even where the address repeats.
        m_pUi->m_pTextBrowser->setSource(QUrl());
        m_pUi->retranslateUi(this);
        ShowManual();
        return;
    }
    QWidget::changeEvent(event);
}
