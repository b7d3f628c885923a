-- The reference database "quillet.dll": one table per language, PHP, CSS,
-- Html and JavaScript, each with the same six single-letter columns:
--   a  entry id, unique in its table
--   b  the title shown in the page's tree
--   c  the name: sort key of the tree, text of the context-help list, text inserted
--   d  the prototypes, one or more lines separated by ";"
--   e  the kind: image index in the page's image list
--   f  parent id: 0 for a top-level entry, otherwise the id of its parent
-- The pages read each parent's children with "WHERE f=<id> order by c", hence
-- the index on f.

CREATE TABLE "F7F57F64_03FF_497f_A9F2_61FC77564_QXV" (
  a INTEGER PRIMARY KEY, b TEXT NOT NULL, c TEXT NOT NULL, d TEXT NOT NULL,
  e INTEGER NOT NULL, f INTEGER NOT NULL);
CREATE INDEX "F7F57F64_03FF_497f_A9F2_61FC77564_QXV_f" ON "F7F57F64_03FF_497f_A9F2_61FC77564_QXV" (f);

CREATE TABLE "BEE75057_3DC5_466c_BD4E_BBEE0C3FF_QXV" (
  a INTEGER PRIMARY KEY, b TEXT NOT NULL, c TEXT NOT NULL, d TEXT NOT NULL,
  e INTEGER NOT NULL, f INTEGER NOT NULL);
CREATE INDEX "BEE75057_3DC5_466c_BD4E_BBEE0C3FF_QXV_f" ON "BEE75057_3DC5_466c_BD4E_BBEE0C3FF_QXV" (f);

CREATE TABLE "DED3730B_75AB_47e9_B307_9BC8491E5_QXV" (
  a INTEGER PRIMARY KEY, b TEXT NOT NULL, c TEXT NOT NULL, d TEXT NOT NULL,
  e INTEGER NOT NULL, f INTEGER NOT NULL);
CREATE INDEX "DED3730B_75AB_47e9_B307_9BC8491E5_QXV_f" ON "DED3730B_75AB_47e9_B307_9BC8491E5_QXV" (f);

CREATE TABLE "G100FFB3_C69B_409c_9F28_D3457560B_QXV" (
  a INTEGER PRIMARY KEY, b TEXT NOT NULL, c TEXT NOT NULL, d TEXT NOT NULL,
  e INTEGER NOT NULL, f INTEGER NOT NULL);
CREATE INDEX "G100FFB3_C69B_409c_9F28_D3457560B_QXV_f" ON "G100FFB3_C69B_409c_9F28_D3457560B_QXV" (f);
