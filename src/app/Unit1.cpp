#include "app/Unit1.h"

#include "platform/MessageBox.h"
#include "platform/PixelIcon.h"
#include "platform/ProgramIcon.h"
#include "reading/ReadingTools.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

// The images live in the core library, whose resources a static link does not register.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

QIcon glyph(const QString &name, const QString &disabled = {}) {
    const auto file = [](const QString &base) {
        return QStringLiteral(":/glyphs/%1.xpm").arg(base);
    };
    return platform::PixelIcon(file(name), disabled.isEmpty() ? QString() : file(disabled));
}

QListWidget *hiddenList(QWidget *parent, const char *name, int left) {
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(left, 16, 9, 17);
    list->hide();
    return list;
}

template <typename T>
T *placed(T *widget, const char *name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent) {
    initResources();
    ResetGlobals();
    buildLayout();
    wireEvents();
    Reading = new reading::ReadingTools(this);
    FormCreate();
}

TForm1::~TForm1() {
    // The nodes go with the tree; nothing may keep pointing at them.
    NodeTable.clear();
    LastNode = nullptr;
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::buildLayout() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString());
    setWindowIcon(platform::ProgramIcon());
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    setFixedSize(604, 365);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Panel1 = placed(new QFrame(this), "Panel1", 8, 8, 201, 25);
    const auto toolButton = [this](const char *name, int left, const QString &hint,
                                   const QIcon &icon) {
        auto *button = placed(new QToolButton(Panel1), name, left, 0, 41, 25);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        button->setIcon(icon);
        return button;
    };
    SpeedButton1 =
        toolButton("SpeedButton1", 0, QStringLiteral("Home"), glyph(QStringLiteral("home")));
    SpeedButton4 = toolButton("SpeedButton4", 40, QStringLiteral("Refresh"),
                              glyph(QStringLiteral("refresh"), QStringLiteral("refresh_disabled")));
    SpeedButton2 = toolButton("SpeedButton2", 80, QStringLiteral("Go Back"),
                              glyph(QStringLiteral("back"), QStringLiteral("back_disabled")));
    SpeedButton3 = toolButton("SpeedButton3", 120, QStringLiteral("Go Forward"),
                              glyph(QStringLiteral("forward"), QStringLiteral("forward_disabled")));
    SpeedButton5 =
        toolButton("SpeedButton5", 160, QStringLiteral("Exit Help"), glyph(QStringLiteral("exit")));

    PageControl1 = placed(new QTabWidget(this), "PageControl1", 8, 40, 241, 313);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Contents"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Index"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Text Search"));
    PageControl1->setCurrentIndex(0);

    const QStringList images{
        QStringLiteral(":/tree/folder_closed.xpm"), QStringLiteral(":/tree/folder_open.xpm"),
        QStringLiteral(":/tree/page.xpm"), QStringLiteral(":/tree/page_selected.xpm")};
    for (int i = 0; i < 4; ++i)
        ImageList1[i] = platform::PixelIcon(images.at(i));

    TreeView1 = placed(new platform::TTreeView(TabSheet1), "TreeView1", 0, 0, 233, 289);
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setColumnCount(1);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setIconSize(QSize(16, 16));

    ListBox1 = placed(new platform::TListBox(TabSheet2), "ListBox1", 0, 0, 233, 289);
    ListBox1->setUniformItemSizes(true);

    RadioGroup1 = placed(new platform::TRadioGroup(QStringLiteral("Case Sensitivity"),
                                                   {QStringLiteral("Non Case Sensitive"),
                                                    QStringLiteral("Case Sensitive")},
                                                   TabSheet3),
                         "RadioGroup1", 0, 8, 233, 57);
    RadioGroup1->SetItemIndex(0);
    Label1 =
        placed(new QLabel(QStringLiteral("Word or Phrase:"), TabSheet3), "Label1", 0, 72, 89, 17);
    BitBtn1 =
        placed(new QPushButton(QStringLiteral("Search"), TabSheet3), "BitBtn1", 104, 72, 129, 25);
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPixelSize(13);
    buttonFont.setBold(true);
    BitBtn1->setFont(buttonFont);
    QPalette buttonPalette = BitBtn1->palette();
    buttonPalette.setColor(QPalette::ButtonText, Qt::blue);
    BitBtn1->setPalette(buttonPalette);
    Edit1 = placed(new platform::TEdit(TabSheet3), "Edit1", 0, 104, 233, 21);
    ListBox5 = placed(new platform::TListBox(TabSheet3), "ListBox5", 0, 128, 233, 153);
    ListBox5->setUniformItemSizes(true);
    setTabOrder(RadioGroup1, BitBtn1);
    setTabOrder(BitBtn1, Edit1);
    setTabOrder(Edit1, ListBox5);

    HTML1 = placed(new platform::THTML(this, platform::THTML::ViewerFonts()), "HTML1", 256, 8, 337,
                   345);

    ListBox2 = hiddenList(this, "ListBox2", 464);
    ListBox3 = hiddenList(this, "ListBox3", 448);
    ListBox4 = hiddenList(this, "ListBox4", 432);
    ListBox6 = hiddenList(this, "ListBox6", 416);
    setTabOrder(PageControl1, HTML1);
}

void TForm1::wireEvents() {
    // Every handler runs guarded: an exception is reported, never unwound through Qt.
    const auto on = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { platform::Guarded([&] { (this->*handler)(); }); });
    };
    on(TreeView1, &QTreeWidget::currentItemChanged, &TForm1::TreeView1Change);
    on(TreeView1, &platform::TTreeView::Click, &TForm1::TreeView1Click);
    on(ListBox1, &platform::TListBox::Click, &TForm1::ListBox1Click);
    on(SpeedButton1, &QToolButton::clicked, &TForm1::SpeedButton1Click);
    on(SpeedButton4, &QToolButton::clicked, &TForm1::SpeedButton4Click);
    on(SpeedButton2, &QToolButton::clicked, &TForm1::SpeedButton2Click);
    on(SpeedButton3, &QToolButton::clicked, &TForm1::SpeedButton3Click);
    on(SpeedButton5, &QToolButton::clicked, &TForm1::SpeedButton5Click);
    on(RadioGroup1, &platform::TRadioGroup::Click, &TForm1::RadioGroup1Click);
    on(BitBtn1, &QPushButton::clicked, &TForm1::BitBtn1Click);
    on(ListBox5, &platform::TListBox::Click, &TForm1::ListBox5Click);
    on(HTML1, &platform::THTML::OnEndRetrieval, &TForm1::HTML1EndRetrieval);
    connect(Edit1, &platform::TEdit::KeyPress, this,
            [this](QChar key) { platform::Guarded([&] { Edit1KeyPress(key); }); });
}

void TForm1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (shown)
        return;
    shown = true;
    platform::Guarded([this] { FormShow(); });
}
