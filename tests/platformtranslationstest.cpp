// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "testenvironment.h"

#include <QFile>
#include <QXmlStreamReader>

// The library installs its catalogue by itself; this test never calls into it otherwise.
class PlatformTranslationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idReadsAsItsText_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("text");

        // Every message of the source catalogue, so none is lost on the way into the library; the
        // texts themselves are checked where they show (the picker's title, the theme's name).
        QFile source(QStringLiteral(GLYPHMORPH_CATALOGUE_SOURCE));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&source);
        QString id;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("message")) {
                id = xml.attributes().value(QLatin1String("id")).toString();
            } else if (xml.name() == QLatin1String("translation")) {
                const QString text = xml.readElementText();
                QTest::newRow(qPrintable(QStringLiteral("catalogue: ") + id)) << id << text;
                ++messages;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages >= 2);
    }

    void idReadsAsItsText()
    {
        QFETCH(QString, id);
        QVERIFY(!id.isEmpty());
        QTEST(qtTrId(id.toUtf8().constData()), "text");
    }
};

GLYPHMORPH_TEST_GUILESS_MAIN(PlatformTranslationsTest)
#include "platformtranslationstest.moc"
