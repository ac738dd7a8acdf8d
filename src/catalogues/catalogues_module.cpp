// Catalogues.
