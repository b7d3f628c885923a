-- The snippet table of every code library file: the empty library template and
-- the standard library are both built from this schema.
CREATE TABLE CodeTable (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  title TEXT,
  text TEXT
);
