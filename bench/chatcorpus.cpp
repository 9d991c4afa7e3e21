// SPDX-FileCopyrightText: 2026 glyphmorph developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include "chatcorpus.h"

#include <random>

namespace {

struct Emoticon
{
    const char *name;
    const char *codes;
};

// Codes separated by spaces.
const Emoticon builtin[] = {
    { "very-happy", ":D :-D =-D =D" },
    { "happy", ":) :-) =-) =)" },
    { "tongue", ":P :-P :-p :p =-P =P =-p =p" },
    { "grin", ";D ;-D" },
    { "wink", ";) ;-)" },
    { "kiss", ":-* :* =-* =*" },
    { "heart", "<3" },
    { "surprised", ":o :-O :O :-o =-O =O =-o =o" },
    { "cool", "8) B) B-) 8-)" },
    { "sarcastic", ":-> :>" },
    { "lips-sealed", ":x :-X :X :-x :-# :# =-X =X =-x =x =-# =#" },
    { "evil", ">) >-)" },
    { "sleepy", "|) |-) I-) I)" },
    { "worried", ":s :-S :S :-s =-S =S =-s =s" },
    { "sad", ":( :-( =-( =(" },
    { "cry", ":'( ;-( ;(" },
    { "skeptical", ":/ :-/ =-/ =/ :-\\ :\\ =-\\ =\\" },
    { "angry", ":@ :-@ =-@ =@" },
};

const char *const words[] = {
    "hey",
    "are",
    "you",
    "coming",
    "tonight",
    "I",
    "think",
    "so",
    "the",
    "train",
    "was",
    "late",
    "again",
    "see",
    "you",
    "at",
    "8",
    "ok",
    "lol",
    "that",
    "is",
    "great",
    "news",
    "thanks",
    "really",
    "miss",
    "you",
    "where",
    "are",
    "we",
    "meeting",
    "café",
    "naïve",
    "Grüße",
    "über",
    "привет",
    "как",
    "дела",
    "你好",
    "谢谢",
    "😀",
    "yes",
    "no",
    "maybe",
    "tomorrow",
    "morning",
    "call",
    "me",
    "when",
    "you",
    "can",
    "http://example.org/a?b=c",
    "don't",
    "it's",
    "#1",
};

} // namespace

QStringList GlyphmorphBench::builtinCodes()
{
    QStringList codes;
    for (const Emoticon &emoticon : builtin)
        codes += QString::fromUtf8(emoticon.codes).split(QLatin1Char(' '));
    return codes;
}

QHash<QString, QString> GlyphmorphBench::builtinCodeMapping(const QString &directory)
{
    QHash<QString, QString> mapping;
    for (const Emoticon &emoticon : builtin) {
        const QString path = directory + QLatin1String("/icon-s-messaging-smiley-")
            + QString::fromUtf8(emoticon.name);
        for (const QString &code : QString::fromUtf8(emoticon.codes).split(QLatin1Char(' '))) {
            mapping.insert(code, path);
            mapping.insert(code.toHtmlEscaped(), path);
        }
    }
    return mapping;
}

QString GlyphmorphBench::chatCorpus(int characters)
{
    const QStringList codes = builtinCodes();
    QStringList wordList;
    for (const char *word : words)
        wordList += QString::fromUtf8(word);

    std::mt19937 random(20261206);
    auto below = [&random](int n) {
        return int(random() % unsigned(n));
    };
    QString text;
    text.reserve(characters + 64);
    int wordsInLine = 0;
    while (text.size() < characters) {
        if (below(12) == 0) {
            const QString &code = codes.at(below(codes.size()));
            text += below(3) == 0 ? code.toHtmlEscaped() : code;
        } else {
            text += wordList.at(below(wordList.size()));
        }
        if (++wordsInLine >= 6 + below(10)) {
            text += below(4) == 0 ? QStringLiteral("\r\n") : QStringLiteral("\n");
            wordsInLine = 0;
        } else {
            text += QLatin1Char(' ');
        }
    }
    return text;
}
