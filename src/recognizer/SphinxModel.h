#pragma once

#include <QString>
#include <QStringList>

struct ps_decoder_s;

// Loads PocketSphinx's acoustic model and dictionary into a decoder set up as the engine needs
// it: the engine decides what is speech and hears some utterances twice.
class SphinxModel
{
public:
    // modelDir holds en-us/ and cmudict-en-us.dict; extra ("-name", "value", ...) replaces or
    // adds to the decoder's arguments. The decoder, for the caller to ps_free(), or nullptr with a
    // message the user can read.
    static ps_decoder_s *load(const QString &modelDir, const QStringList &extra, QString *error);
};
