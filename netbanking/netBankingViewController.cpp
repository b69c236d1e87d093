#include <pelbrook/netBankingViewController.h>

#include "netbanking/BankListModel.h"
#include "netbanking/BankListParser.h"
#include "netbanking/netBankingViewController_p.h"
#include "netbanking/netbankingTableViewCell.h"
#include "platform/DebugLog_p.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/ViewController_p.h"
#include "platform/net/WorkerPool.h"

#include <pelbrook/Endpoints.h>

#include <QFutureWatcher>
#include <QPromise>
#include <QScroller>

#include <memory>

namespace pelbrook {

namespace {

const ScreenTraits &netBankingTraits()
{
    static const ScreenTraits traits = [] {
        ScreenTraits t;
        t.paymentOption = QStringLiteral("nb");
        t.webViewName = "nb_webView";
        t.payButtonName = "nb_paySecurelyBtn";
        t.header.nameBelowSafeTop = true;
        t.header.nameFrame = QRectF(10, 25, 269, 47);
        t.header.idStaticFrame = QRectF(17, 76, 67, 21);
        t.header.amountStaticFrame = QRectF(17, 107, 121, 24);
        t.header.idFrame = QRectF(238, 77, 201, 22);
        t.header.amountFrame = QRectF(309, 100, 130, 38);
        t.header.idTop = 34;
        t.header.amountTop = 64;
        // The list lies in the layout area above the scroll view.
        t.buildOrder = {BuildStep::Inputs, BuildStep::PayButton, BuildStep::Logos, BuildStep::Lists};
        t.rootViewPaddings = QMarginsF(10, 60, 0, 20);
        t.opaqueWhiteBars = true;
        t.inputsOnEveryAppearance = true;
        return t;
    }();
    return traits;
}

} // namespace

netBankingViewControllerPrivate::netBankingViewControllerPrivate()
    : PaymentScreenPrivate(netBankingTraits())
    , model(new BankListModel(this))
{
}

void netBankingViewControllerPrivate::makeInputs()
{
    userMessageLabel = makeLabel("userMessageLabel", netBankingViewController::tr("Please select your Bank to proceed"), 13);
    netbankingTable = new QListView(inAreaOrPending());
    netbankingTable->setObjectName(QStringLiteral("netbankingTable"));
    netbankingTable->setAccessibleName(netBankingViewController::tr("Banks"));
    // Every row is as high as the first, so a long list is laid out without measuring each.
    netbankingTable->setUniformItemSizes(true);
    netbankingTable->setSelectionMode(QAbstractItemView::SingleSelection);
    netbankingTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    netbankingTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    netbankingTable->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    netbankingTable->setFrameShape(QFrame::NoFrame);
    netbankingTable->setItemDelegate(new netbankingTableViewCell(netbankingTable));
    // A list row's standard text, in the screen's own family.
    netbankingTable->setFont(screenFont(17));
    netbankingTable->setModel(model);
    QScroller::grabGesture(netbankingTable->viewport(), QScroller::TouchGesture);
    QObject::connect(netbankingTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                     [this](const QItemSelection &selected, const QItemSelection &deselected) {
                         if (!selected.indexes().isEmpty()) {
                             didSelectRow(selected.indexes().first().row());
                         } else if (!deselected.indexes().isEmpty()) {
                             // A chosen bank stays chosen, and marked, until another is chosen
                             // (a control-click would otherwise unmark it and still pay with it).
                             netbankingTable->selectionModel()->select(deselected, QItemSelectionModel::Select);
                         }
                     });
    // The list takes the keyboard on its first row without choosing it; Enter chooses the row
    // the keyboard is on, as Space and the arrows do.
    QObject::connect(netbankingTable, &QAbstractItemView::activated, this, [this](const QModelIndex &index) {
        netbankingTable->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    });
}

// --- The bank list ---

void netBankingViewControllerPrivate::get_data(const QUrl &url)
{
    if (!url.isValid() || url.isRelative()) {
        debugLog(QStringLiteral("The bank list address is not a valid address."));
        return;
    }
    // The private part is the context: a reply for a screen that is gone is dropped.
    HttpClient::send("GET", QNetworkRequest(url), {}, this,
                     [this](std::optional<QByteArray> body) { extract_data(body); }, MaximumListBytes, ListDeadlineMs);
}

void netBankingViewControllerPrivate::extract_data(const std::optional<QByteArray> &body)
{
    if (!body)
        return;
    // A long list takes a noticeable time to read: it is read on a worker thread while the
    // screen stays responsive, and the list changes only on the main thread, in one step with
    // the reload. A screen that goes meanwhile takes the watcher with it and hears nothing.
    auto promise = std::make_shared<QPromise<std::optional<BankRows>>>();
    auto *watcher = new QFutureWatcher<std::optional<BankRows>>(this);
    QObject::connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher]() {
        watcher->deleteLater();
        if (const std::optional<BankRows> banks = watcher->result())
            refresh_now(*banks);
    });
    watcher->setFuture(promise->future());
    workerPool().start([promise, document = *body]() {
        promise->start();
        promise->addResult(parseBankList(document));
        promise->finish();
    });
}

void netBankingViewControllerPrivate::refresh_now(const BankRows &banks)
{
    model->appendAndReload(banks);
}

void netBankingViewControllerPrivate::didSelectRow(int row)
{
    update(nb_code, std::optional<QString>(model->banks().code(row).toString()), q_func(), &netBankingViewController::nb_codeChanged);
    inputHint.clear();
}

// --- The shared flow ---

void netBankingViewControllerPrivate::viewBuilt()
{
    // Without a choice, a test payment goes to the gateway's test bank.
    update(nb_code, std::optional<QString>(checkout.env_global == QLatin1String("TEST") ? QStringLiteral("3333") : QString()),
           q_func(), &netBankingViewController::nb_codeChanged);
    get_data(endpoints().bankList);
}

QList<QWidget *> netBankingViewControllerPrivate::paymentInputs() const
{
    // The merchant name, the order labels and the merchant logo stay, beneath the page.
    return {netbankingTable, userMessageLabel, payButton, pelbrookLogo, orderBg};
}

bool netBankingViewControllerPrivate::acceptPay()
{
    // A buyer shown hints is asked for a bank rather than sent to the gateway with an empty
    // code; otherwise no bank need be chosen and the preset code (empty outside TEST) is sent.
    if (inputHint.isEnabled() && nb_code.value_or(QString()).isEmpty()) {
        debugLog(QStringLiteral("Select a Bank"));
        inputHint.show(netBankingViewController::tr("Select a Bank"));
        return false;
    }
    debugLog(nb_code.value_or(QString()));
    return true;
}

QList<FormField> netBankingViewControllerPrivate::methodFields() const
{
    return {{QStringLiteral("nb_code"), nb_code.value_or(QString())}};
}

// --- The public class ---

netBankingViewController::netBankingViewController()
    : PaymentScreen(*new netBankingViewControllerPrivate)
{
}

netBankingViewController::~netBankingViewController() = default;

QString netBankingViewController::nb_paymentToken_config() const { return d_func()->checkout.paymentReady_global; }
std::optional<QString> netBankingViewController::nb_code() const { return d_func()->nb_code; }
QString netBankingViewController::nbCodeOrEmpty() const { return d_func()->nb_code.value_or(QString()); }
QList<MyStruct> netBankingViewController::list() const { return d_func()->model->banks().toList(); }

void netBankingViewController::hideNetbankingPaymentInputs()
{
    // What these make (the views of a screen not shown yet, a hint) reads in its language.
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(true);
}

void netBankingViewController::showNetbankingPaymentInputs()
{
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(false);
}

void netBankingViewController::payAction(QAbstractButton *)
{
    const LanguageScope language(screenLanguage(this));
    d_func()->payAction();
}

} // namespace pelbrook
