-- A small model for the front end's tests and screenshots: the tables the
-- engine checks, and one Bopomofo reading with two pages of candidates.
-- "IP" is the reading key of the syllable typed with 1 8 3 on the standard
-- layout; the private-use character in its list is one the module's
-- candidate filter must drop. ":1" (1 8 space) has a single candidate.
CREATE TABLE unigrams (qstring TEXT, current TEXT, probability REAL, backoff REAL);
CREATE TABLE bigrams (qstring TEXT, previous TEXT, current TEXT, probability REAL);
CREATE TABLE "Mandarin-bpmf-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-cj-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-simplex-cin" (key TEXT, value TEXT);
CREATE TABLE associated_phrases (headchar TEXT, data TEXT, source TEXT);
CREATE TABLE collection_names (source TEXT, display TEXT, sortorder INTEGER);
CREATE TABLE "Punctuations-cj-halfwidth-cin" (key TEXT, value TEXT);
CREATE TABLE "Punctuations-cj-mixedwidth-cin" (key TEXT, value TEXT);
INSERT INTO "Mandarin-bpmf-cin" (key, value) VALUES
  ('IP', '把'), ('IP', ''), ('IP', '靶'), ('IP', '鈀'), ('IP', '爸'), ('IP', '吧'),
  ('IP', '八'), ('IP', '巴'), ('IP', '拔'), ('IP', '跋'), ('IP', '霸'), ('IP', '罷'),
  ('IP', '壩'), (':1', '八');
INSERT INTO unigrams (qstring, current, probability, backoff) VALUES
  ('IP', '把', -2.0, 0.0), ('IP', '靶', -4.0, 0.0), (':1', '八', -3.0, 0.0);
