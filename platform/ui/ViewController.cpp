#include <pelbrook/ViewController.h>

#include <pelbrook/TabBarController.h>

#include "platform/ui/NavigationController.h"
#include "platform/ui/Palette.h"
#include "platform/ui/Style.h"
#include "platform/ui/ViewController_p.h"

#include <QPointer>
#include <QWidget>

namespace pelbrook {

class ViewControllerPrivate
{
public:
    static const ViewControllerPrivate *get(const ViewController *screen) { return screen->d.get(); }

    QPointer<QWidget> view;
    QSize initialViewSize = QSize(390, 844);
    QString title;
    BarButtonItem leftBarButtonItem;
    TabBarItem tabBarItem;
    /// The screen's texts are made when its views are first needed, and at every showing.
    const Language language = loadTranslations();
};

Language screenLanguage(const ViewController *screen)
{
    return ViewControllerPrivate::get(screen)->language;
}

ViewController::ViewController(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<ViewControllerPrivate>())
{
}

ViewController::~ViewController()
{
    // The root view may sit in a container that outlives the screen; it goes with the screen.
    delete d->view.data();
}

QWidget *ViewController::view()
{
    if (d->view)
        return d->view;
    const LanguageScope language(d->language);
    auto *root = new QWidget;
    QString name = QString::fromLatin1(metaObject()->className());
    name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    root->setObjectName(name);
    root->setPalette(screenPalette());
    // Shown on its own, a screen is the outermost view of its checkout (in a container, the
    // container's sheet comes first and this one repeats it).
    CheckoutStyle::applyToTree(root);
    root->resize(d->initialViewSize);
    d->view = root;
    viewDidLoad();
    // Whatever asked for the view, the tab's first showing or a host's call before it, it goes
    // into its tab now: a tab whose view was made elsewhere would stay blank. Filled first, out
    // of any window: the views it was given are shown with it.
    if (NavigationController *navigation = navigationController())
        navigation->placeRootView();
    return root;
}

bool ViewController::isViewLoaded() const { return !d->view.isNull(); }
void ViewController::setInitialViewSize(const QSize &size) { d->initialViewSize = size; }
QString ViewController::title() const { return d->title; }
const BarButtonItem &ViewController::leftBarButtonItem() const { return d->leftBarButtonItem; }
const TabBarItem &ViewController::tabBarItem() const { return d->tabBarItem; }
void ViewController::setTabBarItem(const TabBarItem &item) { d->tabBarItem = item; }

void ViewController::setTitle(const QString &title)
{
    if (d->title == title)
        return;
    d->title = title;
    Q_EMIT titleChanged(title);
}

void ViewController::setLeftBarButtonItem(const BarButtonItem &item)
{
    d->leftBarButtonItem = item;
    Q_EMIT leftBarButtonItemChanged();
}

NavigationController *ViewController::navigationController() const
{
    return qobject_cast<NavigationController *>(parent());
}

TabBarController *ViewController::tabBarController() const
{
    for (QObject *p = parent(); p; p = p->parent()) {
        if (auto *tabs = qobject_cast<TabBarController *>(p))
            return tabs;
    }
    return nullptr;
}

void ViewController::dismiss()
{
    if (TabBarController *tabs = tabBarController()) {
        tabs->dismiss();
        return;
    }
    if (NavigationController *navigation = navigationController()) {
        navigation->window()->close();
        return;
    }
    if (d->view)
        d->view->window()->close();
}

void ViewController::beginAppearance()
{
    const LanguageScope language(d->language);
    view();
    viewWillAppear();
}

void ViewController::endAppearance()
{
    const LanguageScope language(d->language);
    viewDidAppear();
}

void ViewController::beginDisappearance()
{
    if (d->view)
        viewWillDisappear();
}

} // namespace pelbrook
