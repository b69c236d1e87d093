#include <pelbrook/ViewController.h>

#include <pelbrook/NavigationController.h>
#include <pelbrook/TabBarController.h>

namespace pelbrook {

QString barBackground(const QColor &tint, bool translucent)
{
    QColor background = tint;
    if (translucent)
        background.setAlphaF(0.92f);
    return background.name(QColor::HexArgb);
}

ViewController::ViewController(QObject *parent)
    : QObject(parent)
{
}

ViewController::~ViewController()
{
    // The root view may sit in a container that outlives the screen; it goes with the screen.
    delete m_view.data();
}

QWidget *ViewController::view()
{
    if (m_view)
        return m_view;
    auto *root = new QWidget;
    QString name = QString::fromLatin1(metaObject()->className());
    name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    root->setObjectName(name);
    root->resize(m_initialViewSize);
    m_view = root;
    viewDidLoad();
    return root;
}

void ViewController::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    Q_EMIT titleChanged(title);
}

void ViewController::setLeftBarButtonItem(const BarButtonItem &item)
{
    m_leftBarButtonItem = item;
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
    if (m_view)
        m_view->window()->close();
}

void ViewController::beginAppearance()
{
    view();
    viewWillAppear();
}

void ViewController::endAppearance()
{
    viewDidAppear();
}

void ViewController::beginDisappearance()
{
    if (m_view)
        viewWillDisappear();
}

} // namespace pelbrook
