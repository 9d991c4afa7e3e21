// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
// A window with one MTextEdit to type in; the title counts the characters left.
//   texteditwindow
#include "helpwithoutdisplay.h"

#include <glyphmorph_version.h>
#include <mtextedit.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QTextDocument>
#include <QTextImageFormat>

namespace {
constexpr int maxLength = 160;
constexpr qreal padding = 8;

// Keeps the scene and the editor as large as the window.
class EditorView : public QGraphicsView
{
public:
    EditorView(QGraphicsScene *scene, MTextEdit *editor)
        : QGraphicsView(scene)
        , m_editor(editor)
    {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QGraphicsView::resizeEvent(event);
        const QRectF area(QPointF(), QSizeF(viewport()->size()));
        scene()->setSceneRect(area);
        m_editor->setGeometry(area.adjusted(padding, padding, -padding, -padding));
    }

private:
    MTextEdit *const m_editor;
};

QPixmap smiley()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 204, 0));
    painter.drawEllipse(QRectF(1, 1, 18, 18));
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(6, 6, 2, 3));
    painter.drawEllipse(QRectF(12, 6, 2, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(5, 5, 10, 9), 200 * 16, 140 * 16);
    return pixmap;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("texteditwindow"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHMORPH_VERSION_STRING));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A window with one MTextEdit to type in; the title counts the characters "
                       "left."));
    parser.addHelpOption();
    parser.addVersionOption();
    answerHelpAndVersion(argc, argv, parser);
    QApplication app(argc, argv);
    parser.process(app);

    auto *editor = new MTextEdit(QStringLiteral("Type here "));
    editor->setMaxLength(maxLength);
    const QString smileyName = QStringLiteral("smiley");
    editor->document()->addResource(QTextDocument::ImageResource, QUrl(smileyName), smiley());
    QTextImageFormat image;
    image.setName(smileyName);
    QTextCursor cursor = editor->textCursor();
    cursor.insertImage(image);
    cursor.insertText(QStringLiteral(" "));

    QGraphicsScene scene;
    scene.addItem(editor);
    EditorView view(&scene, editor);
    const auto showCount = [&view, editor] {
        const int left = maxLength - (editor->document()->characterCount() - 1);
        view.setWindowTitle(QStringLiteral("MTextEdit - %1 characters left").arg(left));
    };
    QObject::connect(editor, &MTextEdit::textChanged, &view, showCount);
    showCount();

    view.resize(480, 240);
    view.show();
    editor->setFocus();
    return app.exec();
}
