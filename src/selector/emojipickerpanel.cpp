// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "emojipickerpanel_p.h"

#include "emojidata.h"
#include "emojigrid_p.h"
#include "emojipickermodel.h"
#include "mtextedit.h"

#include <QFontMetricsF>
#include <QGraphicsLinearLayout>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

namespace {
// U+270B RAISED HAND shows the skin tone.
const char32_t toneSample[] = { 0x270B };

void setStyleNameOnce(EmojiCell *cell, const QString &name)
{
    // A new style name makes the cell look its style up again: only when it changes.
    if (cell->styleName() != name)
        cell->setStyleName(name);
}
} // namespace

EmojiPickerPanel::EmojiPickerPanel(QGraphicsItem *parent)
    : MWidget(parent)
    , m_model(new EmojiPickerModel(this))
{
    auto *column = new QGraphicsLinearLayout(Qt::Vertical, this);
    column->setContentsMargins(0, 0, 0, 0);
    auto *top = new QGraphicsLinearLayout(Qt::Horizontal);
    column->addItem(top);

    m_search = new MTextEdit;
    // As large as the messaging editors' text rather than the small default.
    QFont font = m_search->document()->defaultFont();
    font.setPixelSize(16);
    m_search->document()->setDefaultFont(font);
    top->addItem(m_search);
    connect(m_search, &MTextEdit::textChanged, this, [this] {
        // One line: a pasted line break searches as a space.
        QString query = m_search->text();
        query.replace(QLatin1Char('\n'), QLatin1Char(' '));
        query.replace(QChar::ParagraphSeparator, QLatin1Char(' '));
        m_variantsFrom = -1;
        m_model->setVariantsOf(QString());
        m_tonesFrom = -1;
        m_model->setChoosingSkinTone(false);
        m_model->setQuery(query);
    });

    m_tone = new EmojiCell;
    m_tone->setStyleName(QStringLiteral("EmojiTone"));
    m_tone->installEventFilter(this);
    top->addItem(m_tone);
    top->setAlignment(m_tone, Qt::AlignVCenter);
    connect(m_tone, &MButton::clicked, this, [this] {
        if (m_model->choosingSkinTone())
            closeToneChooser();
        else
            openToneChooser();
    });

    auto *tabRow = new QGraphicsLinearLayout(Qt::Horizontal);
    tabRow->setSpacing(0);
    column->addItem(tabRow);
    const QStringList sections = m_model->sections();
    for (int section = 0; section < sections.size(); ++section) {
        auto *tab = new EmojiCell;
        tab->setEmoji(m_model->sectionEmoji(section));
        tab->setAccessibleName(sections.at(section));
        tab->installEventFilter(this);
        tabRow->addItem(tab);
        connect(tab, &MButton::clicked, this, [this, section] {
            m_search->setText(QString());
            m_variantsFrom = -1;
            m_model->setVariantsOf(QString());
            m_tonesFrom = -1;
            m_model->setChoosingSkinTone(false);
            m_model->setSection(section);
            focusGrid();
        });
        m_tabs.append(tab);
    }

    m_grid = new EmojiGrid(m_model);
    m_grid->otherKeys = [this](QKeyEvent *event) {
        return otherKey(event);
    };
    column->addItem(m_grid);
    connect(m_grid, &EmojiGrid::picked, this, [this](int row) {
        const bool tone = m_model->choosingSkinTone();
        const QString emoji = m_model->pick(row);
        if (tone)
            closeToneChooser();
        else if (!emoji.isEmpty())
            Q_EMIT picked(emoji);
    });
    connect(m_grid, &EmojiGrid::variantsRequested, this, &EmojiPickerPanel::openVariants);
    connect(m_model, &EmojiPickerModel::sectionChanged, this, &EmojiPickerPanel::updateTabs);
    connect(m_model, &EmojiPickerModel::queryChanged, this, &EmojiPickerPanel::updateTabs);
    connect(m_model, &EmojiPickerModel::skinToneChanged, this, &EmojiPickerPanel::updateTone);
    connect(m_model, &EmojiPickerModel::localeChanged, this, &EmojiPickerPanel::updateTone);
    connect(m_model, &EmojiPickerModel::choosingSkinToneChanged, this, [this] {
        updateTabs();
        updateTone();
    });
    updateTabs();
    updateTone();
}

EmojiPickerPanel::~EmojiPickerPanel() = default;

bool EmojiPickerPanel::servesTheme(const EmoticonTheme &theme)
{
    return theme.themeUUID() == QLatin1String("928ab845-fe9b-497d-af5f-e49ee6609415");
}

void EmojiPickerPanel::setGridSize(int columns, int visibleRows)
{
    m_grid->setGeometryOfGrid(columns, visibleRows);
    // The rows above are as wide as the grid: tabs narrower than their style where it is narrow
    // (the icon then covers some padding).
    const qreal width = m_grid->effectiveSizeHint(Qt::PreferredSize).width();
    const QSizeF tone = m_tone->effectiveSizeHint(Qt::PreferredSize);
    m_search->setMaximumHeight(tone.height());
    // Its one line centred in the field, which is as tall as the button beside it (the margin
    // goes around the frame's pixel).
    QTextDocument *document = m_search->document();
    const qreal line = QFontMetricsF(document->defaultFont()).lineSpacing();
    document->setDocumentMargin(qMax<qreal>(2, (tone.height() - line) / 2 - 1));
    m_search->setPreferredWidth(width - tone.width());
    m_search->setMinimumWidth(0);
    for (EmojiCell *tab : qAsConst(m_tabs)) {
        tab->setMinimumWidth(0);
        tab->setPreferredWidth(qMin(tone.width(), width / m_tabs.size()));
    }
}

void EmojiPickerPanel::focusGrid()
{
    if (m_model->count() > 0)
        m_grid->focusRow(m_grid->current());
    else
        m_search->setFocus(Qt::OtherFocusReason);
}

void EmojiPickerPanel::openVariants(int row)
{
    if (!m_model->variantsOf().isEmpty() || m_model->variantCountAt(row) < 2)
        return;
    m_variantsFrom = row;
    m_model->setVariantsOf(m_model->emojiAt(row));
    m_grid->focusRow(0);
}

void EmojiPickerPanel::openToneChooser()
{
    if (m_model->choosingSkinTone())
        return;
    QGraphicsItem *focus = scene() ? scene()->focusItem() : nullptr;
    const bool fromGrid = focus && m_grid->isAncestorOf(focus);
    m_tonesFrom = fromGrid ? m_grid->current() : -1;
    // Only the panel's own items outlive the chooser for sure.
    m_tonesFocus = !fromGrid && focus && isAncestorOf(focus) ? focus : nullptr;
    m_model->setChoosingSkinTone(true);
    m_grid->focusRow(m_model->skinTone());
}

void EmojiPickerPanel::closeToneChooser()
{
    const int from = m_tonesFrom;
    QGraphicsItem *focus = m_tonesFocus ? m_tonesFocus : m_tone;
    m_tonesFrom = -1;
    m_tonesFocus = nullptr;
    m_model->setChoosingSkinTone(false);
    if (from >= 0)
        m_grid->focusRow(from);
    else
        focus->setFocus(Qt::OtherFocusReason);
}

bool EmojiPickerPanel::toneChooserKey(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_T && modifiers == Qt::ControlModifier) {
        if (m_model->choosingSkinTone())
            closeToneChooser();
        else
            openToneChooser();
        return true;
    }
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier
        && m_model->choosingSkinTone()) {
        closeToneChooser();
        return true;
    }
    return false;
}

bool EmojiPickerPanel::otherKey(QKeyEvent *event)
{
    if (toneChooserKey(event))
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        if (!m_model->variantsOf().isEmpty()) {
            const int from = m_variantsFrom;
            m_variantsFrom = -1;
            m_model->setVariantsOf(QString());
            m_grid->focusRow(from);
            return true;
        }
        if (!m_model->query().isEmpty()) {
            m_search->setText(QString());
            focusGrid();
            return true;
        }
        return false;
    }
    const QString text = event->text();
    if ((modifiers & ~Qt::ShiftModifier) != Qt::NoModifier || text.isEmpty()
        || !text.at(0).isPrint() || text.at(0).isSpace())
        return false;
    // Typing goes to the search, wherever the focus is.
    m_search->setFocus(Qt::OtherFocusReason);
    QTextCursor cursor = m_search->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    m_search->setTextCursor(cursor);
    return true;
}

bool EmojiPickerPanel::searchKey(QKeyEvent *event)
{
    if (toneChooserKey(event))
        return true;
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The best match; the field stays one line either way. A tone is chosen in the grid.
        if (m_model->count() > 0 && !m_model->choosingSkinTone()) {
            const QString emoji = m_model->pick(0);
            Q_EMIT picked(emoji);
        }
        return true;
    case Qt::Key_Down:
        focusGrid();
        return true;
    case Qt::Key_Escape:
        if (m_search->text().isEmpty())
            return false;
        m_search->setText(QString());
        return true;
    default:
        return false;
    }
}

bool EmojiPickerPanel::eventFilter(QObject *, QEvent *event)
{
    return event->type() == QEvent::KeyPress && otherKey(static_cast<QKeyEvent *>(event));
}

bool EmojiPickerPanel::sceneEventFilter(QGraphicsItem *, QEvent *event)
{
    return event->type() == QEvent::KeyPress && searchKey(static_cast<QKeyEvent *>(event));
}

QVariant EmojiPickerPanel::itemChange(GraphicsItemChange change, const QVariant &value)
{
    // The field's keys go to the text item inside it, which is no widget to take a QObject
    // event filter, and a scene event filter needs both in a scene.
    if (change == ItemSceneHasChanged && scene()) {
        QGraphicsItem *text = m_search->focusProxy() ? m_search->focusProxy() : m_search;
        text->installSceneEventFilter(this);
    }
    return MWidget::itemChange(change, value);
}

void EmojiPickerPanel::updateTabs()
{
    const bool showsSection = m_model->query().trimmed().isEmpty() && !m_model->choosingSkinTone();
    for (int section = 0; section < m_tabs.size(); ++section) {
        const bool current = showsSection && section == m_model->section();
        setStyleNameOnce(m_tabs.at(section),
            current ? QStringLiteral("EmojiTabCurrent") : QStringLiteral("EmojiTab"));
    }
}

void EmojiPickerPanel::updateTone()
{
    const QString sample
        = m_model->withSkinTone(QString::fromUcs4(toneSample, 1), m_model->skinTone());
    m_tone->setEmoji(sample);
    // Marked like the current tab while its choices fill the grid.
    setStyleNameOnce(m_tone,
        m_model->choosingSkinTone() ? QStringLiteral("EmojiTabCurrent")
                                    : QStringLiteral("EmojiTone"));
    m_tone->setAccessibleName(EmojiData().emojiName(sample, m_model->locale()));
}
