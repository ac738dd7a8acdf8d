// Window library app.
